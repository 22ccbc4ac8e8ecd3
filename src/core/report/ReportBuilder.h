#pragma once

#include "core/report/RichText.h"
#include "core/solve/SolveEngine.h"
#include "core/solve/SolveInputs.h"

#include <optional>
#include <string>

namespace pluvane {

struct Workspace;

// Probes the three element tables for live rows (Deleted = 'False') and sets HasOverland,
// HasShallow and HasChannel. True when any is set, i.e. there is something to solve.
bool ProbeSolveFlags(Workspace& ws);

// A built report: the document and the solve it ran.
struct Report {
    RichDocument document;
    std::optional<SolveResult> solve; // empty when the solve could not run (the document says why)
};

// What a report adds to the standard layout; every option is off unless the user turns it on.
struct ReportOptions {
    // One line after the runoff-rate table naming CurrentIntensityTable and where its values
    // come from, so that the printed report cites its rainfall.
    bool rainfallSource = false;
    // A "Review Notes" section after the runoff-rate table (and the rainfall line): what a plan
    // reviewer would ask about the project, one note a line.
    bool reviewNotes = false;
    // Column stops fitted to the cells and page keeps (LayOutReport). A document that only
    // becomes plain text has no use for them.
    bool layOut = true;
};

// Builds the solution report of the project ProjectPath for the element kinds whose solve flag
// is set: CollectSolveInputs, the one solve (TrySolve, which stores TblResults), RenderReport.
Report BuildReport(const Workspace& ws, const ReportOptions& options = {});

// Writes the report, front to back, from a solve's inputs and its outcome: the element tables
// from the inputs, the project row and the stored TblResults row from the project file (a
// failed solve prints its reason instead of the results). Runs no solve.
RichDocument RenderReport(const Workspace& ws, const SolveInputs& inputs, const SolveAttempt& solve,
                          const ReportOptions& options = {});

// The rainfall line of the report for a location: "Rainfall: NAME — PROVENANCE", the stored
// provenance lines joined by "; " (a line's closing ".", "," or ";" gives way to the joint), or
// "source not recorded". The name as the list spells it.
std::string RainfallSourceLine(const Workspace& ws, const std::string& location);

} // namespace pluvane
