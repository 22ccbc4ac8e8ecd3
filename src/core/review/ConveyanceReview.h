#pragma once

#include "core/hydraulics/OutletConveyance.h"
#include "core/review/ReviewChecks.h"
#include "core/solve/SolveEngine.h"

#include <optional>
#include <vector>

namespace pluvane {

struct SolveResult;

// The notes on the outlet conveyance at its design flow: a velocity below the self-cleansing
// one or above the scouring one, a pipe over capacity (or none of the standard sizes large
// enough), a channel whose normal depth exceeds its available depth. Nothing when the outcome
// has no result (no design flow yet, a value missing).
std::vector<Finding> ReviewConveyance(const ConveyanceFields& fields,
                                      const ConveyanceOutcome& outcome);

// The same at a stored design flow; nothing without one.
std::vector<Finding> ReviewConveyanceAt(const ConveyanceFields& fields,
                                        const std::optional<double>& designFlow);

} // namespace pluvane
