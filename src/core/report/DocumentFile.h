#pragma once

#include "core/report/RichText.h"

#include <string>
#include <string_view>

namespace pluvane {

// A document as a small, exact, locale-free text that reads back equal, for handing a built
// report to another process of this program (the command line's PDF helper). Not a file
// format users keep: both ends are the same build.
//   pluvane-document 1
//   P left right count stop...           a paragraph, then its runs
//   R size bold italic underline r g b byteCount
//   <byteCount bytes of text>
std::string SerializeDocument(const RichDocument& document);

// The document of such a text. Throws Error when the text is not one.
RichDocument ParseDocument(std::string_view text);

} // namespace pluvane
