#pragma once

#include "cli/Cli.h"
#include "core/report/ResultsExport.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace pluvane::cli {

// What `solve P1.rmt P2.rmt ...` was asked to do.
struct BatchOptions {
    std::vector<std::string> projects; // in the order given; each solved and stored in its own file
    unsigned jobs = 0;                 // worker threads; 0 = the number of cores
    // Folders that receive one report per project, named after it (site.rmt -> site.txt).
    std::optional<std::string> rtfFolder, textFolder, pdfFolder;
    bool rainfallSource = false; // the report's rainfall line
    bool review = false;         // review notes in the JSON/CSV values
    bool reviewNotes = false;    // the reports' Review Notes section
    bool designBasis = true;     // the reports' Design Basis section
    enum class Format { None, Json, Csv } format = Format::None;
    std::optional<std::string> outFile; // the JSON/CSV document's file; stdout without one
};

// Solves the projects on `jobs` threads, each with a Workspace of its own. Prints one summary line
// per project in the order given (left out when the JSON/CSV document goes to `out`), each failure
// on `err`, and returns 0 when all were solved, 1 otherwise. Throws Error before solving anything
// when the options cannot all be honoured (an output folder missing, two reports of one name).
int SolveMany(const std::string& dataFolder, const BatchOptions& options, std::ostream& out,
              std::ostream& err, const PdfWriter& pdf);

// The summary line of a project: `PATH: LOCATION, Q (cfs) q1 q2 ... q100` or `PATH: not solved`.
std::string SummaryLine(const ProjectOutcome& outcome);

} // namespace pluvane::cli
