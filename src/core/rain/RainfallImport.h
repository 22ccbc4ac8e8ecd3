#pragma once

#include "core/store/IntensityDb.h"

#include <string>
#include <vector>

namespace pluvane {

// A rainfall table read from a file for review: the grid and provenance to show in the
// editor (nothing is stored until the user saves), and what the reader found doubtful.
struct ImportedTable {
    LocationFile table;                // name (may be empty), provenance text, 10 x 7 grid
    std::vector<std::string> warnings; // e.g. an intensity that falls as the return period rises
};

// Reads a precipitation-frequency file: a NOAA Atlas 14 PFDS CSV (depth or intensity, inches or
// millimetres, partial-duration series; also as a spreadsheet re-saves it) or the shipped
// "duration_hours,1,2,..." format. `bytes` is the file as read (UTF-8 or Windows-1252, any line
// ends). Depths become intensities (depth / duration, 3 significant figures); millimetres become
// inches, with a warning. The name is suggested from the file's location ("" when it gives
// none). Throws Error with a message that says why a file is refused (annual-maximum series,
// missing values, no table, a point outside the atlas' coverage, ...).
ImportedTable ImportRainfallFile(const std::string& bytes);

// What looks wrong in a grid of intensities, one message per cell at fault: a value that is not
// positive, falls as the return period rises, or rises as the duration grows. Empty when none.
std::vector<std::string> CheckIntensityGrid(const IntensityGrid& grid);

} // namespace pluvane
