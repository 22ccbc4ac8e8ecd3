#pragma once

#include <array>

namespace pluvane {

// The ten stored durations (ReturnPeriods.h, kDurationTexts, holds them in hours) as the editor
// and the command line label them.
inline constexpr std::array<const char*, 10> kDurationLabels{
    "5 min", "10 min", "15 min", "30 min", "1 hr", "2 hr", "3 hr", "6 hr", "12 hr", "24 hr"};

// The location used when none is chosen.
inline constexpr const char* kDefaultLocation = "Atlanta";

} // namespace pluvane
