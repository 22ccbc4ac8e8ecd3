#pragma once

#include "report/RichText.h"
#include "solve/SolveEngine.h"

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

// Builds the solution report of the project ProjectPath, front to back, for the element kinds
// whose solve flag is set, and runs the solve exactly once (which stores TblResults).
Report BuildReport(const Workspace& ws);

} // namespace pluvane
