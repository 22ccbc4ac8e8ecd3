#pragma once

#include "core/review/ReviewChecks.h"

#include <QDialog>

#include <vector>

class QLabel;
class QListWidget;

namespace pluvane::gui {

// "Review Project": every note a plan reviewer would make about the open project, one a line.
// Choosing a note about an element selects that element on the canvas.
class FrmReview : public QDialog {
    Q_OBJECT
public:
    explicit FrmReview(QWidget* parent);

    void showFindings(std::vector<Finding> findings);
    const std::vector<Finding>& findings() const { return m_findings; }

signals:
    void elementChosen(const QString& tag);
    void refreshRequested();

private:
    QListWidget* m_list;
    QLabel* m_summary;
    std::vector<Finding> m_findings;
};

} // namespace pluvane::gui
