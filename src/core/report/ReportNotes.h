#pragma once

#include "core/report/RichText.h"

#include <string>

namespace pluvane {

// The line a report carries in place of its results when the solve could not run.
std::string SolveFailureLine(const std::string& reason);

// The reason given by that line in a built document; "" when the document carries none (the
// command line prints it, since the report itself may not be shown).
std::string SolveFailureReason(const RichDocument& document);

} // namespace pluvane
