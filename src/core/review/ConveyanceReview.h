#pragma once

#include "core/hydraulics/OutletConveyance.h"
#include "core/review/ReviewChecks.h"

#include <vector>

namespace pluvane {

struct Workspace;

// The notes on the outlet conveyance at its design flow: a velocity below the self-cleansing
// one or above the scouring one, a pipe over capacity (or none of the standard sizes large
// enough), a channel whose normal depth exceeds its available depth. Nothing when the outcome
// has no result (no design flow yet, a value missing).
std::vector<Finding> ReviewConveyance(const ConveyanceFields& fields,
                                      const ConveyanceOutcome& outcome);

// The same for the project's stored conveyance at the last solve's stored peak flow; nothing
// when the project has no conveyance.
std::vector<Finding> ReviewStoredConveyance(const Workspace& ws);

// `findings` with the stored conveyance's notes appended (the project reviews' last step).
std::vector<Finding> WithConveyanceFindings(const Workspace& ws, std::vector<Finding> findings);

} // namespace pluvane
