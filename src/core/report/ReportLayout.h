#pragma once

#include "core/report/RichText.h"

namespace pluvane {

// The report made ready for its pages, once it is written: every table's columns fitted to
// their cells (FitColumns), each table kept together where a page break would hurt
// (KeepTablesTogether), and the running header and footer of its pages (ReportFurniture). The
// text is left exactly as written.
void LayOutReport(RichDocument& document);

// A table here is a run of consecutive paragraphs holding tabs with the same indents and stops.
// Its first paragraph (the heading) keeps with the next; a table of at most five paragraphs
// (the results table, a total under its rule) is kept whole; the titles and blank lines right
// above a heading, and the line nearest above it (a caption such as a formula, bold or not),
// keep with it, so that no title is left at the foot of a page. A headed table with no title
// of its own (only blank lines and a caption above it) right under a headed table kept whole
// keeps with that table: both go over with the title above them.
void KeepTablesTogether(RichDocument& document);

// The header of the report's pages: the project name on the left and "Job Number: ..." on the
// right, read from the project block; enabled, so that its pages also get the page footer.
PageFurniture ReportFurniture(const RichDocument& document);

} // namespace pluvane
