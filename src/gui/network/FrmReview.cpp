#include "gui/network/FrmReview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace pluvane::gui {

FrmReview::FrmReview(QWidget* parent) : QDialog(parent) {
    setObjectName("FrmReview");
    setWindowTitle("Review Project");
    m_summary = new QLabel(this);
    m_summary->setObjectName("LblSummary");
    m_list = new QListWidget(this);
    m_list->setObjectName("LstFindings");
    m_list->setMinimumSize(640, 240);
    auto* refresh = new QPushButton("Refresh", this);
    refresh->setObjectName("CmdRefresh");
    refresh->setAutoDefault(false);
    auto* close = new QPushButton("Close", this);
    close->setObjectName("CmdClose");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(refresh);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(refresh, &QPushButton::clicked, this, &FrmReview::refreshRequested);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < static_cast<int>(m_findings.size()) &&
            m_findings[static_cast<std::size_t>(row)].element)
            emit elementChosen(
                QString::fromStdString(*m_findings[static_cast<std::size_t>(row)].element));
    });
}

void FrmReview::showFindings(std::vector<Finding> findings) {
    m_findings = std::move(findings);
    const QSignalBlocker quiet(m_list); // refilling the list chooses nothing
    m_list->clear();
    int warnings = 0;
    for (const Finding& finding : m_findings) {
        auto* item = new QListWidgetItem(QString::fromStdString(FindingLine(finding)), m_list);
        item->setToolTip(QString::fromStdString(finding.code));
        if (finding.severity == Severity::Warning) {
            ++warnings;
            item->setForeground(QColor(0x8a, 0x3b, 0x00));
        }
    }
    const int notes = static_cast<int>(m_findings.size()) - warnings;
    m_summary->setText(
        m_findings.empty()
            ? QString("Nothing a plan reviewer would flag was found.")
            : QString("%1 warning(s), %2 note(s). Choose a note to select its element.")
                  .arg(warnings)
                  .arg(notes));
}

} // namespace pluvane::gui
