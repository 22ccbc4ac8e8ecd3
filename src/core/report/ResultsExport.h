#pragma once

#include "core/report/DesignBasis.h"
#include "core/review/ReviewChecks.h"
#include "core/solve/SolveInputs.h"

#include <optional>
#include <string>
#include <vector>

namespace pluvane {

struct ProjectSolve;

// One project's solve as the results documents give it.
struct ProjectOutcome {
    std::string path;
    bool solved = false;
    std::string failure;  // the user-readable reason when not solved
    std::string location; // the node's rainfall location ("" when not read)
    std::string source;   // the location's provenance lines ("" when not recorded)
    std::optional<SolveInputs> inputs;
    std::optional<SolveResult> result;
    std::optional<DesignBasis> design; // what the solve took and how, when it read the project
    std::vector<Finding> findings;     // with `review`
};

// The outcome of `solve` of the project at `path`, its review notes with `review`.
ProjectOutcome DescribeOutcome(const std::string& path, const ProjectSolve& solve, bool review);

// The values of solves for scripts and spreadsheets. Numbers are locale-free: the
// engine's single-precision I and Q as their shortest round-trip text, the double-precision A,
// C, Tc, Cf and C*Cf as theirs. A project that was not solved keeps its place, with its reason.

// {"projects": [{"path", "solved", "failure", "location", "source", "A", "C",
//   "Tc": {"overland", "shallow", "channel", "total"},
//   "periods": [{"returnPeriod", "Cf", "CCf", "I", "Q"}, ...],
//   "design": {"TcUsed", "minimumTc", "minimumApplied", "intensityMethod",
//              "intensityMethodCode", "P2"}, "review": [...]}, ...]}
// "review" only with `review`; values that were never computed are null.
std::string ResultsJson(const std::vector<ProjectOutcome>& outcomes, bool review);

// RFC 4180: a header row, then one row per project and return period (one row with an empty
// return period for a project without results), CRLF line ends, fields quoted when they hold a
// comma, a quote or a line end; the design basis (Tc used, minimum Tc, how the intensities were
// found) closes each row. With `review` a last column holds the review notes, one a line.
std::string ResultsCsv(const std::vector<ProjectOutcome>& outcomes, bool review);

} // namespace pluvane
