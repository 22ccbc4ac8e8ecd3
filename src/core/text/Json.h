#pragma once

#include <string>
#include <string_view>

namespace pluvane {

// JSON output pieces, written by hand since the program only ever emits small documents.

// `text` as a JSON string literal, quotes included: the quote, the backslash and every control
// character are escaped (\n, \t, ... or \u00XX); other bytes pass through, so UTF-8 stays UTF-8.
// Bytes that are not valid UTF-8 become U+FFFD, since a JSON reader must reject them.
std::string JsonString(std::string_view text);

// `value` as a JSON number: the shortest text that reads back the same (locale-free); null when
// not finite, which JSON cannot express.
std::string JsonNumber(double value);

} // namespace pluvane
