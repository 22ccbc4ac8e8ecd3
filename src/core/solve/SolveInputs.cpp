#include "core/solve/SolveInputs.h"

#include "core/Error.h"
#include "core/Workspace.h"
#include "core/solve/SolveChecks.h"
#include "core/text/NumberText.h"

namespace pluvane {

namespace {

// The sums run in row order, as the report has always added them.
void addBasins(const Workspace& ws, SolveInputs& inputs) {
    for (LiveElement<BasinFields>& row : LoadLiveBasins(ws)) {
        BasinInput& basin = inputs.basins.emplace_back();
        basin.tag = std::move(row.tag);
        basin.fields = std::move(row.fields);
        const BasinFields& f = basin.fields;
        basin.area = ParseLenient(f.area);
        basin.c = ParseLenient(f.c);
        basin.slope = ParseLenient(f.slope);
        basin.travelLength = ParseLenient(f.travelLength);
        basin.n = ParseLenient(f.n);
        basin.tc = ParseLenient(f.tc);
        inputs.totalArea += basin.area;
        inputs.overlandTc += basin.tc;
        inputs.overlandLength += basin.travelLength;
    }
    // With a total area of 0 the shares are taken as 0 and the average C with them, which
    // changes nothing since every peak flow is A * ... = 0 then.
    const bool noArea = inputs.noArea();
    for (BasinInput& basin : inputs.basins) {
        basin.share = noArea ? 0.0 : basin.area / inputs.totalArea;
        basin.weightedC = basin.share * basin.c;
        inputs.averageC += basin.weightedC;
    }
}

void addSurfaces(const Workspace& ws, SolveInputs& inputs) {
    for (LiveElement<SurfaceFields>& row : LoadLiveSurfaces(ws)) {
        SurfaceInput& surface = inputs.surfaces.emplace_back();
        surface.tag = std::move(row.tag);
        surface.fields = std::move(row.fields);
        const SurfaceFields& f = surface.fields;
        surface.slope = ParseLenient(f.slope);
        surface.length = ParseLenient(f.length);
        surface.velocity = ParseLenient(f.velocity);
        surface.tc = ParseLenient(f.tc);
        inputs.shallowTc += surface.tc;
        inputs.shallowLength += surface.length;
    }
}

void addChannels(const Workspace& ws, SolveInputs& inputs) {
    for (LiveElement<ChannelFields>& row : LoadLiveChannels(ws)) {
        ChannelInput& channel = inputs.channels.emplace_back();
        channel.tag = std::move(row.tag);
        channel.fields = std::move(row.fields);
        const ChannelFields& f = channel.fields;
        channel.area = ParseLenient(f.area);
        channel.wettedPerimeter = ParseLenient(f.wettedPerimeter);
        channel.slope = ParseLenient(f.slope);
        channel.length = ParseLenient(f.length);
        channel.n = ParseLenient(f.n);
        channel.velocity = ParseLenient(f.velocity);
        channel.tc = ParseLenient(f.tc);
        inputs.channelLength += channel.length;
        inputs.channelTc += channel.tc;
    }
}

} // namespace

SolveInputs CollectSolveInputs(const Workspace& ws) {
    SolveInputs inputs;
    addBasins(ws, inputs);
    addSurfaces(ws, inputs);
    addChannels(ws, inputs);
    inputs.hasOverland = !inputs.basins.empty();
    inputs.hasShallow = !inputs.surfaces.empty();
    inputs.hasChannel = !inputs.channels.empty();
    inputs.totalTc = inputs.overlandTc + inputs.shallowTc + inputs.channelTc;
    return inputs;
}

SolveInputs LumpedSolveInputs(double area, double c, double tc) {
    SolveInputs inputs;
    inputs.totalArea = area;
    inputs.averageC = c;
    inputs.totalTc = tc;
    return inputs;
}

} // namespace pluvane
