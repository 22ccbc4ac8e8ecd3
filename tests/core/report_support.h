#pragma once

#include "TestSupport.h"
#include "core/report/ReportBuilder.h"
#include "core/report/RichText.h"

#include <optional>

#include <string>

namespace pluvane::test {

// The compact form of a document that report tests compare against: one line per paragraph
// (a last paragraph without runs left out, as the writers do),
//   [left/right stops] {size+flags}text{size+flags}text
// with flags b(old) i(talic) u(nderline) and a colour other than black as #rrggbb; a tab
// shows as \t. Example: [300/200 4000] {12b}Project Name:{12}\tAlder Creek
std::string DumpParagraph(const Paragraph& paragraph);
std::string Dump(const RichDocument& document);

// The paragraphs from the one whose text is `first` up to, not including, the one whose text
// is `end` ("" = to the end), dumped; "" when `first` is missing.
std::string DumpSection(const RichDocument& document, const std::string& first,
                        const std::string& end);

// A solve of ws's project and its report, as the Solve command makes them: at the location the
// project records, or at `location` where a test chooses another.
struct SolvedReport {
    RichDocument document;
    std::optional<SolveResult> solve;
};
SolvedReport SolveAndRender(const Workspace& ws, const ReportOptions& options = {});
SolvedReport SolveAndRender(const Workspace& ws, const std::string& location,
                            const ReportOptions& options = {});

// The report's rainfall line for a solve at `location`, its table read as a solve reads it
// (an unreadable one read as none).
std::string SourceLineFor(const Workspace& ws, const std::string& location);

// Writes the project row and the node row (whose location is `location`) of ws's project.
void InsertProjectRows(const Workspace& ws, const std::string& location);

// The worked project of the report tests: two sub-basins, two shallow segments and two
// channel segments of hand-checked values, on the location "Uniform Five" (5.0 in/hr in every
// cell), with every kind present. See report_support.cpp for the values.
Workspace MakeWorkedProject(const TempFolder& folder);

} // namespace pluvane::test
