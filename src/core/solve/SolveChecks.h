#pragma once

#include "core/solve/SolveInputs.h"

namespace pluvane {

// Refuses a solve of values no site can have, as the element dialogs refuse them when typed: a
// sub-basin area below 0 or not finite, a run-off coefficient outside 0 to 1, a Tc below 0 or
// not finite in any element. Throws Error naming the first such element and its value; nothing
// is computed or stored then.
void RefuseUnphysicalInputs(const SolveInputs& inputs);

} // namespace pluvane
