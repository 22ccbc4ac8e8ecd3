#pragma once

#include "core/report/RichText.h"

#include <string>

namespace pluvane::cli {

// Writes a report as a PDF file through the helper program pluvane-pdf beside this executable
// (it needs the toolkit, which the command line itself never loads): the document goes to it in
// a temporary file. Throws Error with the helper's reason when it fails, or when it is missing.
void WritePdfThroughHelper(const RichDocument& document, const std::string& path);

} // namespace pluvane::cli
