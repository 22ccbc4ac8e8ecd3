#pragma once

#include "core/report/RichText.h"

#include <string>
#include <string_view>

namespace pluvane {

// The program's one serialiser of a document to RTF: a font table with one sans-serif face, a
// colour table of every colour used, US Letter pages with 0.75 inch margins, and per paragraph
// its indents and tab stops (twips; a repeated position written once), per run its size, bold,
// italic, underline and colour. Text is escaped: "\", "{", "}" as control symbols, every
// non-ASCII character as \uN with the fallback "?" (UTF-16 units, astral characters as
// surrogate pairs), a tab as \tab; other control characters and invalid UTF-8 bytes are not
// text and are left out / shown as U+FFFD. A last paragraph without runs is left out.
std::string WriteRtf(const RichDocument& document);

// The document's text: one line per paragraph ending in "\n", tabs kept, the same characters
// the RTF carries (control characters other than tab left out, invalid UTF-8 as U+FFFD).
std::string WritePlainText(const RichDocument& document);

// Writes `bytes` to `path`, replacing the file: the bytes go to a temporary file beside it,
// which is renamed into place only once completely written, so a failure leaves the old file
// (or none) and never half a file. Throws Error naming the file and the reason.
void SaveFileAtomically(const std::string& path, std::string_view bytes);

// WriteRtf / WritePlainText saved with SaveFileAtomically.
void SaveRtf(const RichDocument& document, const std::string& path);
void SavePlainText(const RichDocument& document, const std::string& path);

} // namespace pluvane
