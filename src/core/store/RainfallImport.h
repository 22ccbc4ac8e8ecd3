#pragma once

#include "store/IntensityDb.h"

#include <string>
#include <vector>

namespace pluvane {

// A rainfall table read from a file for review: the grid and provenance to show in the
// editor (nothing is stored until the user saves), and what the reader found doubtful.
struct ImportedTable {
    LocationFile table;                // name (may be empty), provenance text, 10 x 7 grid
    std::vector<std::string> warnings; // e.g. an intensity that falls as the return period rises
};

// Reads a precipitation-frequency file: a NOAA Atlas 14 PFDS CSV (depth or intensity, English
// units, partial-duration series) or the shipped "duration_hours,1,2,..." format. Throws Error
// with a message that says why a file is refused (annual-maximum series, metric units, no
// table, a point outside the atlas' coverage, ...).
ImportedTable ImportRainfallFile(const std::string& bytes);

} // namespace pluvane
