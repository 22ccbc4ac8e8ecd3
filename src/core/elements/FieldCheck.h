#pragma once

#include <string>
#include <string_view>

namespace pluvane {

// True when `text` is a plain decimal number as the numeric fields let one be typed: digits
// with at most one decimal point and at least one digit ("12", "0.5", ".5", "5."), optionally
// after a minus sign (stored by older versions; the range checks name it). No blanks, no
// exponent, no thousands separator, no second point.
bool IsPlainNumber(std::string_view text);

// Throws Error("<label>: '<text>' is not a number") unless IsPlainNumber(text). Calculate, Add
// and Update run it on every numeric field before anything is computed or stored; reading old
// files keeps the lenient parse.
void CheckPlainNumber(const std::string& label, const std::string& text);

// The source of a rainfall table whose cells were typed over: a published atlas's citation
// (a source naming an "Atlas") gets the line "edited by hand on DATE", once per date, so a
// design never cites the atlas for values it does not hold. Other sources are left as they are.
std::string MarkHandEdited(const std::string& provenance, const std::string& isoDate);

} // namespace pluvane
