#pragma once

#include "core/store/IntensityDb.h"

#include <string>
#include <vector>

namespace pluvane {

// A location in the shipped CSV format that ParseLocationCsv reads: "# location: NAME", each
// provenance line as "# LINE", the header "duration_hours,1,2,5,10,25,50,100" and the rows with
// their texts exactly as stored, LF line ends. Reading it back gives the same name, provenance
// and grid. Throws Error when the table cannot be written so: not the ten stored durations, or a
// text holding a comma or a line end (the format has no quoting).
std::string WriteLocationCsv(const std::string& name, const std::vector<IntensityRow>& rows,
                             const std::string& provenance);

} // namespace pluvane
