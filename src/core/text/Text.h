#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pluvane {

// Texts every layer shares: one home for each small helper. Case is ASCII case: names and
// labels compare the same whatever locale the process runs in.

// A stored text on one line, as a table cell: control characters become spaces, since a tab
// would shift every later column and a line end would split the row.
std::string CellText(std::string_view text);

// The text as a terminal may be shown it: control bytes (C0, DEL, the C1 range) and bytes that
// are not well-formed UTF-8 become "\xHH", so a file name cannot move the cursor or recolour
// the screen; the bytes of `keep` (e.g. "\n") stay. For display only: "\" is not escaped.
std::string PrintableText(std::string_view text, std::string_view keep = "");

// The text with A-Z as a-z; every other byte as it is.
std::string LowerAscii(std::string_view text);

// Comparisons without regard to ASCII case.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);
bool ContainsIgnoreCase(std::string_view text, std::string_view part);

// The text without the leading and trailing characters of `blanks`.
inline constexpr std::string_view kBlanks = " \t\r\n";
std::string Trim(std::string_view text, std::string_view blanks = kBlanks);

// The cells of a CSV line. SplitCsvQuoted honours double quotes ("a,b" is one cell, "" inside
// quotes one quote) and keeps blanks; SplitCsvPlain cuts at every comma and trims each cell
// (a line ending in a comma ends in an empty cell).
std::vector<std::string> SplitCsvQuoted(std::string_view line);
std::vector<std::string> SplitCsvPlain(std::string_view line);

// UTF-8. The length of the well-formed sequence at `i` (no overlong forms, no surrogates), or 0.
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t i);
// Appends a code point below U+10000 as UTF-8.
void AppendUtf8(std::string& out, char32_t code);

} // namespace pluvane
