#include "core/report/ReportNotes.h"

#include <string_view>

namespace pluvane {

namespace {

constexpr std::string_view kSolveFailurePrefix = "The project could not be solved: ";

} // namespace

std::string SolveFailureLine(const std::string& reason) {
    return std::string(kSolveFailurePrefix) + reason;
}

std::string SolveFailureReason(const RichDocument& document) {
    for (const Paragraph& paragraph : document.paragraphs) {
        const std::string text = paragraph.text();
        if (text.starts_with(kSolveFailurePrefix))
            return text.substr(kSolveFailurePrefix.size());
    }
    return "";
}

} // namespace pluvane
