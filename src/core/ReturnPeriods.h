#pragma once

#include <array>
#include <cstdint>

namespace pluvane {

// The return periods of every table and result, in years, always in this order. Intensity
// columns are named by these numbers; result columns by "Ival_" or "Qpeak_" and the number.
inline constexpr std::array<std::int16_t, 7> ReturnPeriods{1, 2, 5, 10, 25, 50, 100};

// The ten storm durations of a rainfall table, in hours, as the database stores their text;
// row r has ID r + 1.
inline constexpr std::array<const char*, 10> kDurationTexts{
    "0.083333", "0.166667", "0.25", "0.50", "1.0", "2.0", "3.0", "6.0", "12.0", "24.0"};

} // namespace pluvane
