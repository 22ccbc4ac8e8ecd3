#pragma once

#include "core/report/RichText.h"

#include <vector>

namespace pluvane {

// How the report's tables are fitted to their contents.
struct ColumnFitOptions {
    // Twips from the text area's left edge to its right edge on the narrowest page the report
    // goes to: US Letter at the saved RTF's 0.75 inch margins (print and PDF leave more).
    int textWidth = 10080;
    // The least room between the end of a cell and the next column: `gap` twips (about a
    // space) and a share of the cell's width, for a screen that sets a size at whole pixels
    // (8 pt at 96 dpi is 11 px, not 10.67: 3 % wider than on paper).
    int gap = 50;
    double gapShare = 0.04;
    // A table too wide for the page is set a step smaller, down to this size, rather than let a
    // row wrap.
    double sizeStep = 1.0;
    double minimumSize = 8.0;
};

// Moves the tab stops of each table so that every cell ends, with the gap, before the next
// column starts. A table is a run of consecutive paragraphs with the same indents and tab
// stops; its columns are the left indent and each stop some row with text lands a tab on as the
// stops stand (a stop every row passes is not a column). A column's stop stays at least where
// it was and moves right as far as the widest cell of the column before it needs; every later
// stop moves with it. A stop that is not a column moves by what the stops before it moved. Cell
// k of a row (after k tabs) belongs to column k. When the widest row then passes the right
// indent, the table's tab-holding paragraphs are set sizeStep smaller and fitted again, down to
// minimumSize. A repeated stop stays repeated; the text is never changed.
void FitColumns(RichDocument& document, const ColumnFitOptions& options = {});

// Where each tab of `paragraph` lands, in twips from the text area's edge, the way the views
// and readers place them: the first stop beyond the pen, past the last stop every 720 twips
// from the left indent. One entry per tab, in order; the widths are the report face's.
std::vector<double> TabLandings(const Paragraph& paragraph);

} // namespace pluvane
