#pragma once

#include "core/ElementKind.h"

#include <string>
#include <string_view>
#include <vector>

namespace pluvane {

struct Workspace;

// Calculate writes a Tc or a velocity with exactly four decimals; a text in any other form was
// typed. Nothing else records which it was.
bool IsCalculatedText(std::string_view text);

// One live element's Tc as a recompute sees it.
struct TcRecomputed {
    ElementKind kind = ElementKind::Basin;
    std::string tag;
    std::string name;
    std::string oldTc, newTc;             // minutes; newTc "" when kept (typed, or refused)
    std::string oldVelocity, newVelocity; // ft/s, shallow and channel flow only
    std::string kept;                     // why the values stay: "typed" or the refusal; ""
    bool changed() const { return kept.empty() && (newTc != oldTc || newVelocity != oldVelocity); }
};

// Every live element's Tc (and velocity) recomputed from its stored inputs, the sub-basins'
// sheet flow with the 2-year 24-hour rainfall of `location`. Typed values are kept as typed,
// and so are values whose inputs Calculate would refuse. Writes nothing.
std::vector<TcRecomputed> PlanTcRecompute(const Workspace& ws, const std::string& location);

// Writes the changed values of a plan, in one transaction.
void ApplyTcRecompute(const Workspace& ws, const std::vector<TcRecomputed>& plan);

} // namespace pluvane
