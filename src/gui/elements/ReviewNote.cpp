#include "gui/elements/ReviewNote.h"

#include "core/Error.h"
#include "core/Workspace.h"
#include "core/store/IntensityDb.h"

#include <QComboBox>
#include <QLineEdit>
#include <QResizeEvent>

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
    setWordWrap(false);
    // As wide as the fields above, never wider: a long note is cut with an ellipsis.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
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
    m_line = noteText(m_findings.front());
    if (m_findings.size() > 1)
        m_line += QString("  (+%1 more)").arg(m_findings.size() - 1);
    showLine();
    QStringList all;
    for (const Finding& finding : m_findings)
        all << noteText(finding);
    setToolTip(all.join('\n'));
    show();
}

void ReviewNote::showLine() { setText(fontMetrics().elidedText(m_line, Qt::ElideRight, width())); }

void ReviewNote::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    if (!m_findings.empty())
        showLine();
}

std::optional<double> ReviewRainfall(const Workspace& ws) {
    try {
        return ReadTwoYearDailyIntensity(ws) * 24.0;
    } catch (const Error&) {
        return std::nullopt;
    }
}

} // namespace pluvane::gui
