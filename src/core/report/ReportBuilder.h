#pragma once

#include "core/report/RichText.h"
#include "core/solve/SolveProject.h"

#include <string>

namespace pluvane {

// What a report adds to the standard layout. Off here, so that a default report is the standard
// one; the program and the command line turn the design basis on unless told not to.
struct ReportOptions {
    // One line after the runoff-rate table naming the solve's rainfall location and where its
    // values come from, so that the printed report cites its rainfall.
    bool rainfallSource = false;
    // A "Review Notes" section after the runoff-rate table (and the rainfall line): what a plan
    // reviewer would ask about the project, one note a line.
    bool reviewNotes = false;
    // A "Design Basis" section after the runoff-rate table: what a reviewer needs to check each
    // peak flow from the page (DesignBasis.h).
    bool designBasis = false;
    // Column stops fitted to the cells and page keeps (LayOutReport). A document that only
    // becomes plain text has no use for them.
    bool layOut = true;
};

// Writes the report of a solve, front to back: the project block, the element tables, the
// runoff-rate table (or the reason the solve was refused) and what the options add. Reads
// nothing: everything printed comes from the solve.
RichDocument RenderReport(const ProjectSolve& solve, const ReportOptions& options = {});

// The rainfall line of the report: "Rainfall: NAME — PROVENANCE", the stored provenance lines
// joined by "; " (a line's closing ".", "," or ";" gives way to the joint), or "source not
// recorded"; "Rainfall: no location chosen" for a solve without a location.
std::string RainfallSourceLine(const ProjectSolve& solve);

} // namespace pluvane
