#pragma once

#include <string>
#include <string_view>

namespace pluvane {

// The messages of the review checks, in one place; the findings themselves are report text
// and are written where each check is made. Shown with the title "Error".

// A check code that no rule has (a caller's mistake, or a hand-edited list).
inline std::string NoReviewCheckMessage(std::string_view code) {
    return "There is no review check " + std::string(code) + ".";
}

} // namespace pluvane
