#pragma once

#include "core/review/ReviewChecks.h"

#include <QLabel>

#include <functional>
#include <optional>
#include <vector>

namespace pluvane {
struct Workspace;
} // namespace pluvane

namespace pluvane::gui {

// The one-line note under an element dialog's fields: what a plan reviewer would say about the
// values as they stand, redone whenever a field or list of the dialog changes. Hidden while
// nothing trips; it never refuses anything. Every note is in its tooltip.
class ReviewNote : public QLabel {
    Q_OBJECT
public:
    using Review = std::function<std::vector<Finding>()>;
    // Watches the line edits and lists `dialog` holds when this is made (create it after them).
    ReviewNote(QWidget* dialog, Review review);

    void refresh();
    const std::vector<Finding>& findings() const { return m_findings; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showLine();

    Review m_review;
    QString m_line; // the whole line; the label shows as much as fits
    std::vector<Finding> m_findings;
};

// The 2-year 24-hour rainfall (in) a sub-basin's Tc is computed with; nullopt when the current
// rainfall table cannot give it.
std::optional<double> ReviewRainfall(const Workspace& ws);

} // namespace pluvane::gui
