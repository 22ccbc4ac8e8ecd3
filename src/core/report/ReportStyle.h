#pragma once

#include "core/report/RichText.h"

#include <string>

namespace pluvane {

// The four text styles of the report; the value is the style's level.
enum class ReportStyle {
    SectionTitle = 1, // 12 pt, bold, underlined, italic
    Heading = 2,      // 10 pt, bold, underlined: column headings and rule lines
    RowLabel = 3,     // 10 pt, bold: row labels of the results table
    Body = 4,         // 10 pt, plain: body rows and totals
};

// Sets size, bold, underline and italic of the text appended from now on; the colour stays.
void ApplyReportStyle(RichTextWriter& writer, ReportStyle style);

// Replaces the tab stops of the paragraph being written by n stops spaced by the integer part
// of 8000 / n twips, the first one step from the left edge. n <= 0 clears the stops.
void EvenTabStops(RichTextWriter& writer, int n);

// n tab characters ("" for n <= 0). Written underlined, they draw a rule line.
std::string TabRun(int n);

} // namespace pluvane
