#pragma once

#include "core/hydraulics/OutletConveyance.h"
#include "core/report/RichText.h"
#include "core/solve/SolveEngine.h"

#include <optional>

namespace pluvane {

// The report's "Outlet Conveyance" section for the stored conveyance and what it gives at the
// design flow (EvaluateConveyance): what was given, then the pipe's or the channel's results
// and the travel time, or why there are none.
void AppendConveyanceSection(RichTextWriter& out, const ConveyanceFields& fields,
                             const ConveyanceOutcome& outcome);

// The report's one call: nothing when the project has no conveyance; else the section at the
// solve's peak flow for the conveyance's design period.
void AppendOutletConveyance(RichTextWriter& out, const std::optional<ConveyanceFields>& fields,
                            const std::optional<SolveResult>& solve);

} // namespace pluvane
