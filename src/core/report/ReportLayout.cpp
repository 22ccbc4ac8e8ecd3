#include "core/report/ReportLayout.h"
#include "core/text/Text.h"

#include "core/report/ColumnFit.h"

#include <string_view>

namespace pluvane {

namespace {

constexpr std::size_t kShortTable = 5;
constexpr std::size_t kLeadInLimit = 8; // paragraphs above a heading that may keep with it

bool hasTab(const Paragraph& paragraph) {
    for (const Run& run : paragraph.runs)
        if (run.text.find('\t') != std::string::npos)
            return true;
    return false;
}

bool sameStops(const Paragraph& a, const Paragraph& b) {
    return a.leftIndent == b.leftIndent && a.rightIndent == b.rightIndent &&
           a.tabStops == b.tabStops;
}

// A blank line or a title: no tab, and every run bold.
bool isLeadIn(const Paragraph& paragraph) {
    if (hasTab(paragraph))
        return false;
    for (const Run& run : paragraph.runs)
        if (!run.format.bold)
            return false;
    return true;
}

// The value after "LABEL\t" in the first paragraph that starts so; "" when there is none.
std::string projectValue(const RichDocument& document, std::string_view label) {
    for (const Paragraph& paragraph : document.paragraphs) {
        const std::string text = paragraph.text();
        if (text.size() > label.size() && text.compare(0, label.size(), label) == 0 &&
            text[label.size()] == '\t')
            return Trim(std::string_view(text).substr(label.size() + 1), " \t");
    }
    return {};
}

} // namespace

void KeepTablesTogether(RichDocument& document) {
    std::vector<Paragraph>& paragraphs = document.paragraphs;
    std::size_t wholeTableEnd = 0; // just past the last headed table kept whole; 0: none yet
    for (std::size_t begin = 0; begin < paragraphs.size();) {
        if (!hasTab(paragraphs[begin])) {
            ++begin;
            continue;
        }
        std::size_t end = begin + 1;
        while (end < paragraphs.size() && hasTab(paragraphs[end]) &&
               sameStops(paragraphs[begin], paragraphs[end]))
            ++end;
        const bool whole = end - begin <= kShortTable;
        const std::size_t keptUpTo = whole ? end - 1 : begin + 1;
        for (std::size_t p = begin; p < keptUpTo; ++p)
            paragraphs[p].keepWithNext = true;
        // A rule line (tabs only) has no title above it to keep.
        const bool headed = paragraphs[begin].text().find_first_not_of('\t') != std::string::npos;
        std::size_t top = begin;
        // The titles and blank lines above the heading, and its caption: the nearest line above
        // that is not blank, bold or not (a formula over its table).
        bool captioned = false;
        bool titled = false;
        while (headed && top > 0 && begin - top < kLeadInLimit) {
            const Paragraph& above = paragraphs[top - 1];
            const bool caption = !captioned && !hasTab(above);
            if (!isLeadIn(above) && !caption)
                break;
            captioned = captioned || !above.runs.empty();
            titled = titled || (isLeadIn(above) && !above.runs.empty());
            --top;
        }
        if (headed && !titled && top > 0 && top == wholeTableEnd) {
            // No title of its own, right under a short table kept whole: both are one block
            // under that table's title (the Tc lines and the results table of the runoff
            // rates), so the title goes over with the table at the bottom.
            top = wholeTableEnd - 1;
        } else {
            // Blank lines above the topmost title stay where they are: a page does not begin
            // blank.
            while (top < begin && paragraphs[top].runs.empty())
                ++top;
        }
        for (std::size_t p = top; p < begin; ++p)
            paragraphs[p].keepWithNext = true;
        if (whole && headed)
            wholeTableEnd = end;
        begin = end;
    }
}

PageFurniture ReportFurniture(const RichDocument& document) {
    PageFurniture furniture;
    furniture.enabled = true;
    furniture.headerLeft = projectValue(document, "Project Name:");
    if (const std::string job = projectValue(document, "Job Number:"); !job.empty())
        furniture.headerRight = "Job Number: " + job;
    return furniture;
}

void LayOutReport(RichDocument& document) {
    FitColumns(document);
    KeepTablesTogether(document);
    document.furniture = ReportFurniture(document);
}

} // namespace pluvane
