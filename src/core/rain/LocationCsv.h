#pragma once

#include "core/store/IntensityDb.h"

#include <string>

namespace pluvane {

// A location read from the shipped CSV format: "# location: NAME" and other "# key: value"
// provenance lines (a line in quotes as QuoteSourceLine writes it), the header "duration_hours,1,2,5,10,25,50,100" (columns matched by their
// header values) and ten rows, one per stored duration. Throws Error naming the line at fault.
LocationFile ParseLocationCsv(const std::string& text);

// A source line in quotes, as the writer puts one the reader would alter or misread: "\\" and
// "\"" for a backslash and a quote, "\xHH" for a control byte or a byte outside UTF-8. The
// reader takes a comment that is all one such quoted text as that line, never as a key.
std::string QuoteSourceLine(const std::string& line);

// True when a comment's text names the location ("location: NAME", any case and spacing).
bool IsLocationKeyLine(std::string_view body);

} // namespace pluvane
