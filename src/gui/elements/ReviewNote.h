#pragma once

#include "core/review/ReviewChecks.h"

#include <QLabel>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pluvane {
struct Workspace;
} // namespace pluvane

namespace pluvane::gui {

// The notes under an element dialog's fields: what a plan reviewer would say about the values
// as they stand, redone whenever a field or list of the dialog changes, one note a line, each
// whole (wrapped to the fields' width). Hidden while nothing trips; it never refuses anything.
class ReviewNote : public QLabel {
    Q_OBJECT
public:
    using Review = std::function<std::vector<Finding>()>;
    // Watches the line edits and lists `dialog` holds when this is made (create it after them).
    ReviewNote(QWidget* dialog, Review review);

    // The note in the room kept for it under the fields: kReservedLines lines high whether a
    // note shows or not, so that the buttons below never move; more notes than fit scroll.
    QWidget* inReservedRoom();
    static constexpr int kReservedLines = 3;

    void refresh();
    const std::vector<Finding>& findings() const { return m_findings; }

private:
    Review m_review;
    std::vector<Finding> m_findings;
};

// The 2-year 24-hour rainfall (in) a sub-basin's Tc is computed with at `location`; nullopt when
// that rainfall table cannot give it.
std::optional<double> ReviewRainfall(const Workspace& ws, const std::string& location);

} // namespace pluvane::gui
