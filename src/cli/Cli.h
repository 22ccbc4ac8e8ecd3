#pragma once

#include "core/report/RichText.h"

#include <functional>
#include <iosfwd>
#include <string>

namespace pluvane::cli {

// Writes a report as a PDF file, throwing pluvane::Error on failure. Needs the toolkit, so the
// core-only build passes an empty one and `solve --pdf` is refused.
using PdfWriter = std::function<void(const RichDocument&, const std::string& path)>;

// Runs the command line. Exit codes: 0 done, 1 the command failed (message on `err`),
// 2 the command line is wrong (usage on `err`), 3 `check` found notes. What is shown to a
// person has its control bytes escaped; a location exported to `out` is written as it is.
int Run(int argc, char** argv, std::ostream& out, std::ostream& err, const PdfWriter& pdf);

} // namespace pluvane::cli
