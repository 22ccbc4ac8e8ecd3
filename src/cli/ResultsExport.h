#pragma once

#include <string>
#include <vector>

namespace pluvane::cli {

struct ProjectOutcome;

// The values of a batch solve for scripts and spreadsheets. Numbers are locale-free: the
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

} // namespace pluvane::cli
