#include "gui/elements/ReviewNote.h"

#include "core/Error.h"
#include "core/Workspace.h"
#include "core/store/IntensityDb.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>

namespace pluvane::gui {

namespace {

QString noteText(const Finding& finding) {
    const QString severity = finding.severity == Severity::Warning ? "Warning" : "Note";
    return severity + ": " + QString::fromStdString(finding.message) + " (" +
           QString::fromStdString(finding.reference) + ")";
}

} // namespace

ReviewNote::ReviewNote(QWidget* dialog, Review review)
    : QLabel(dialog), m_review(std::move(review)) {
    setObjectName("LblReviewNote");
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setStyleSheet("color: #8a5a00;");
    for (QLineEdit* field : dialog->findChildren<QLineEdit*>())
        connect(field, &QLineEdit::textChanged, this, &ReviewNote::refresh);
    for (QComboBox* list : dialog->findChildren<QComboBox*>())
        connect(list, &QComboBox::currentTextChanged, this, &ReviewNote::refresh);
    refresh();
}

void ReviewNote::refresh() {
    try {
        m_findings = m_review();
    } catch (const std::exception&) {
        m_findings.clear(); // a note that cannot be worked out is simply not shown
    }
    if (m_findings.empty()) {
        clear();
        setToolTip(QString());
        hide();
        return;
    }
    QStringList all;
    for (const Finding& finding : m_findings)
        all << noteText(finding);
    setText(all.join('\n'));
    setToolTip(all.join('\n'));
    show();
}

QWidget* ReviewNote::inReservedRoom() {
    auto* room = new QScrollArea(parentWidget());
    room->setObjectName("ReviewNoteRoom");
    room->setFrameShape(QFrame::NoFrame);
    room->setWidgetResizable(true);
    room->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    room->viewport()->setAutoFillBackground(false);
    room->setWidget(this);
    setAutoFillBackground(false);
    // As wide as the fields above, never wider; as high as the reserved lines, always.
    room->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    room->setFixedHeight(fontMetrics().lineSpacing() * kReservedLines + 2 * margin() + 4);
    refresh(); // shown or hidden as the findings say, now that it lives in the room
    return room;
}

std::optional<double> ReviewRainfall(const Workspace& ws, const std::string& location) {
    try {
        return ReadTwoYearDailyIntensity(ws, location) * 24.0;
    } catch (const Error&) {
        return std::nullopt;
    }
}

} // namespace pluvane::gui
