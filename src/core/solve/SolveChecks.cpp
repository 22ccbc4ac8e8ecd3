#include "core/solve/SolveChecks.h"

#include "core/Error.h"
#include "core/solve/SolveMessages.h"
#include "core/text/Text.h"

#include <cmath>

namespace pluvane {

namespace {

// One value of one element: refused below `low` or above `high`, and when not finite.
void require(std::string_view kind, const std::string& name, const std::string& tag,
             std::string_view noun, const std::string& text, double value, double low, double high,
             std::string_view outside) {
    std::string_view reason;
    if (!std::isfinite(value))
        reason = kNotFinite;
    else if (value < low || value > high)
        reason = outside;
    else
        return;
    // The element as the user named it; its tag when it has no name.
    const std::string shown = Trim(name).empty() ? tag : Trim(name);
    throw Error(UnphysicalInputMessage(kind, shown, noun, Trim(text), reason));
}

constexpr double kNoLimit = HUGE_VAL;

} // namespace

void RefuseUnphysicalInputs(const SolveInputs& inputs) {
    for (const BasinInput& b : inputs.basins) {
        const BasinFields& f = b.fields;
        require(kSubBasin, f.name, b.tag, kAreaNoun, f.area, b.area, 0.0, kNoLimit, kBelowZero);
        require(kSubBasin, f.name, b.tag, kCNoun, f.c, b.c, 0.0, 1.0, kOutsideZeroToOne);
        require(kSubBasin, f.name, b.tag, kTcNoun, f.tc, b.tc, 0.0, kNoLimit, kBelowZero);
    }
    for (const SurfaceInput& s : inputs.surfaces)
        require(kShallowSegment, s.fields.name, s.tag, kTcNoun, s.fields.tc, s.tc, 0.0, kNoLimit,
                kBelowZero);
    for (const ChannelInput& c : inputs.channels)
        require(kChannelSegment, c.fields.name, c.tag, kTcNoun, c.fields.tc, c.tc, 0.0, kNoLimit,
                kBelowZero);
}

} // namespace pluvane
