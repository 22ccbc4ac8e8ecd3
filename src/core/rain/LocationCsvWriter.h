#pragma once

#include "core/store/IntensityDb.h"

#include <string>
#include <vector>

namespace pluvane {

// A location in the shipped CSV format that ParseLocationCsv reads: "# location: NAME", each
// provenance line as "# LINE" (quoted, see QuoteSourceLine, when the reader would not give it
// back byte for byte or would take it for the location's name), the header
// "duration_hours,1,2,5,10,25,50,100" and the rows with their texts exactly as stored, LF line
// ends. Reading it back gives the same name, provenance and grid. Throws Error when the table
// cannot be written so: not the ten stored durations, a cell holding a comma, a control byte or
// a blank at either end (cells have no quoting), or a name with a blank at either end.
std::string WriteLocationCsv(const std::string& name, const std::vector<IntensityRow>& rows,
                             const std::string& provenance);

} // namespace pluvane
