#pragma once

#include <iosfwd>
#include <optional>

namespace pluvane::cli {

// The numbers of `pipe` and `channel`, as read from the command line.
struct HydraulicsRequest {
    double q = 0;                   // --q, cfs
    double slope = 0;               // --slope, ft/ft
    double n = 0;                   // --n
    std::optional<double> diameter; // pipe --diameter, in; absent: size it
    double bottom = 0;              // channel --bottom, ft
    double side = 0;                // channel --side, horizontal per vertical
    std::optional<double> depth;    // channel --depth, ft: the capacity at that depth
};

// Throw pluvane::Error naming the first value that is out of range (a wrong command line).
void CheckPipeRequest(const HydraulicsRequest& request);
void CheckChannelRequest(const HydraulicsRequest& request);

// Print the pipe or the channel for the request, as text or as one JSON line. A pipe that no
// standard diameter fits throws Error (the command failed).
void PrintPipe(const HydraulicsRequest& request, bool json, std::ostream& out);
void PrintChannel(const HydraulicsRequest& request, bool json, std::ostream& out);

} // namespace pluvane::cli
