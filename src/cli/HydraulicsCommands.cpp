#include "cli/HydraulicsCommands.h"

#include "core/hydraulics/Conveyance.h"
#include "core/hydraulics/OutletConveyance.h"
#include "core/text/NumberText.h"

#include <ostream>

namespace pluvane::cli {

void CheckPipeRequest(const HydraulicsRequest& r) {
    CheckPipeInputs(r.q, r.slope, r.n, r.diameter);
}

void CheckChannelRequest(const HydraulicsRequest& r) {
    CheckChannelInputs(r.q, r.slope, r.n, r.bottom, r.side, r.depth);
}

void PrintPipe(const HydraulicsRequest& r, bool json, std::ostream& out) {
    const PipeResult pipe = AnalyzePipe(r.q, r.slope, r.n, r.diameter);
    if (json) {
        out << PipeResultJson(pipe) << '\n';
        return;
    }
    out << "Pipe: " << PlainNumberText(pipe.diameterIn) << " in"
        << (pipe.sized ? " (smallest standard size flowing full)" : "")
        << ", n = " << PlainNumberText(r.n) << ", S = " << PlainNumberText(r.slope) << " ft/ft\n"
        << "Full flow: " << FormatFixed(pipe.fullFlowCfs, 2) << " cfs at "
        << FormatFixed(pipe.fullVelocityFps, 2) << " ft/s\n"
        << "Q = " << FormatFixed(r.q, 2) << " cfs: ";
    if (pipe.overCapacity)
        out << "over capacity (the most it carries part full is " << FormatFixed(pipe.maxFlowCfs, 2)
            << " cfs); " << FormatFixed(pipe.velocityFps, 2) << " ft/s flowing full\n";
    else
        out << "depth " << FormatFixed(*pipe.depthFt, 2) << " ft ("
            << FormatFixed(*pipe.percentFull, 1) << " % full), velocity "
            << FormatFixed(pipe.velocityFps, 2) << " ft/s\n";
}

void PrintChannel(const HydraulicsRequest& r, bool json, std::ostream& out) {
    const ChannelResult channel = AnalyzeChannel(r.q, r.slope, r.n, r.bottom, r.side, r.depth);
    if (json) {
        out << ChannelResultJson(channel) << '\n';
        return;
    }
    out << "Channel: bottom " << PlainNumberText(r.bottom) << " ft, side slope "
        << PlainNumberText(r.side) << ":1, n = " << PlainNumberText(r.n)
        << ", S = " << PlainNumberText(r.slope) << " ft/ft\n"
        << "Q = " << FormatFixed(r.q, 2) << " cfs: normal depth "
        << FormatFixed(channel.normalDepthFt, 2) << " ft, velocity "
        << FormatFixed(channel.velocityFps, 2) << " ft/s\n";
    if (channel.capacityCfs)
        out << "Capacity at " << PlainNumberText(*r.depth)
            << " ft depth: " << FormatFixed(*channel.capacityCfs, 2) << " cfs"
            << (channel.normalDepthFt > *r.depth ? " (less than Q)" : "") << '\n';
}

} // namespace pluvane::cli
