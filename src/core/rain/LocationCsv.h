#pragma once

#include "core/store/IntensityDb.h"

#include <string>

namespace pluvane {

// A location read from the shipped CSV format: "# location: NAME" and other "# key: value"
// provenance lines, the header "duration_hours,1,2,5,10,25,50,100" (columns matched by their
// header values) and ten rows, one per stored duration. Throws Error naming the line at fault.
LocationFile ParseLocationCsv(const std::string& text);

} // namespace pluvane
