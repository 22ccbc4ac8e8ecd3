#include "core/elements/RecomputeTc.h"

#include "core/Error.h"
#include "core/Workspace.h"
#include "core/elements/ElementCalculations.h"
#include "core/elements/ElementRecords.h"
#include "core/store/Database.h"
#include "core/store/ProjectDb.h"
#include "core/text/NumberText.h"
#include "core/text/Text.h"

#include <cmath>
#include <functional>

namespace pluvane {

namespace {

// The recomputation of one element: its new texts, or why its values stay.
void recompute(TcRecomputed& row, bool hasVelocity, const std::function<FlowTexts()>& calculate) {
    if (!IsCalculatedText(row.oldTc) || (hasVelocity && !IsCalculatedText(row.oldVelocity))) {
        row.kept = "typed";
        return;
    }
    try {
        const FlowTexts texts = calculate();
        row.newTc = texts.tc;
        row.newVelocity = hasVelocity ? texts.velocity : row.oldVelocity;
    } catch (const Error& e) {
        row.kept = e.what();
    }
}

} // namespace

bool IsCalculatedText(std::string_view text) {
    const double value = ParseLenient(text);
    return std::isfinite(value) && FormatFixed(value, 4) == Trim(text);
}

std::vector<TcRecomputed> PlanTcRecompute(const Workspace& ws, const std::string& location) {
    std::vector<TcRecomputed> plan;
    const auto add = [&plan](ElementKind kind, const std::string& tag, const std::string& name,
                             const std::string& tc, const std::string& velocity) -> TcRecomputed& {
        TcRecomputed& row = plan.emplace_back();
        row.kind = kind;
        row.tag = tag;
        row.name = name;
        row.oldTc = tc;
        row.oldVelocity = velocity;
        return row;
    };
    for (const LiveElement<BasinFields>& basin : LoadLiveBasins(ws)) {
        const BasinFields& f = basin.fields;
        TcRecomputed& row = add(ElementKind::Basin, basin.tag, f.name, f.tc, "");
        recompute(row, false, [&] {
            return FlowTexts{"", CalculateSheetFlowTc(ws, location, f.n, f.travelLength, f.slope)};
        });
    }
    for (const LiveElement<SurfaceFields>& surface : LoadLiveSurfaces(ws)) {
        const SurfaceFields& f = surface.fields;
        TcRecomputed& row = add(ElementKind::Surface, surface.tag, f.name, f.tc, f.velocity);
        recompute(row, true, [&] { return CalculateShallowFlow(f.type, f.length, f.slope); });
    }
    for (const LiveElement<ChannelFields>& channel : LoadLiveChannels(ws)) {
        const ChannelFields& f = channel.fields;
        TcRecomputed& row = add(ElementKind::Channel, channel.tag, f.name, f.tc, f.velocity);
        recompute(row, true, [&] {
            return CalculateChannelFlow(f.area, f.wettedPerimeter, f.slope, f.n, f.length,
                                        ManningOrder::AddDialog);
        });
    }
    return plan;
}

void ApplyTcRecompute(const Workspace& ws, const std::vector<TcRecomputed>& plan) {
    const ProjectConnectionScope connection(ws);
    Database db = OpenProjectDb(ws);
    Transaction transaction(db);
    // The row as stored with its new Tc (and velocity, for the kinds that have one).
    const auto rewrite = [&ws](const TcRecomputed& row, auto load, auto update) {
        auto fields = load(ws, row.tag);
        if (!fields)
            return;
        fields->tc = row.newTc;
        if constexpr (requires { fields->velocity; })
            fields->velocity = row.newVelocity;
        update(ws, row.tag, *fields);
    };
    for (const TcRecomputed& row : plan) {
        if (!row.changed())
            continue;
        if (row.kind == ElementKind::Basin)
            rewrite(row, LoadBasin, UpdateBasin);
        else if (row.kind == ElementKind::Surface)
            rewrite(row, LoadSurface, UpdateSurface);
        else if (row.kind == ElementKind::Channel)
            rewrite(row, LoadChannel, UpdateChannel);
    }
    transaction.commit();
}

} // namespace pluvane
