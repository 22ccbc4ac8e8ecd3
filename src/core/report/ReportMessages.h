#pragma once

#include <string>
#include <string_view>

namespace pluvane {

// Every message of writing the report to a file, in one place, so that the wording can be read
// and kept consistent. Shown with the title "Error". The report's own text is not here: it is
// the document, written by the renderer.

// The serialized document handed from the command line to the PDF writer does not read back.
inline constexpr std::string_view kReportDocumentBroken =
    "The report handed to the PDF writer is damaged.";

// `reason` is the system's text, or kPagesNotDrawn.
inline std::string PdfNotWrittenMessage(std::string_view path, std::string_view reason) {
    return "The PDF file \"" + std::string(path) +
           "\" could not be written: " + std::string(reason) + ".";
}
inline constexpr std::string_view kPagesNotDrawn = "the pages could not be drawn";

} // namespace pluvane
