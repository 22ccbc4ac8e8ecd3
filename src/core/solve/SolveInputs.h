#pragma once

#include "core/elements/ElementRecords.h"
#include "core/solve/SolveEngine.h"

#include <string>
#include <vector>

namespace pluvane {

struct Workspace;

// A live sub-basin as the solve sees it: the stored texts and the numbers read from them
// (the lenient parse: a text without a leading number, or an empty one, counts 0).
struct BasinInput {
    std::string tag;
    BasinFields fields;
    double area = 0.0;         // acres
    double c = 0.0;            // run-off coefficient
    double slope = 0.0;        // ft/ft
    double travelLength = 0.0; // ft
    double n = 0.0;
    double tc = 0.0; // minutes
    // This sub-basin's share a/A of the total area and its term (a/A) * C of the average C, in
    // the order the average is accumulated; 0 when the total area is 0 (the shares are
    // undefined then, see SolveInputs::noArea).
    double share = 0.0;
    double weightedC = 0.0;
};

// A live shallow concentrated flow segment.
struct SurfaceInput {
    std::string tag;
    SurfaceFields fields;
    double slope = 0.0;    // ft/ft
    double length = 0.0;   // ft
    double velocity = 0.0; // ft/s
    double tc = 0.0;       // minutes
};

// A live channel segment.
struct ChannelInput {
    std::string tag;
    ChannelFields fields;
    double area = 0.0;            // sq ft
    double wettedPerimeter = 0.0; // ft
    double slope = 0.0;           // ft/ft
    double length = 0.0;          // ft
    double n = 0.0;
    double velocity = 0.0; // ft/s
    double tc = 0.0;       // minutes
};

// Everything a solve of a project is made of, read once: the live elements of each kind (a
// kind without live rows contributes nothing and gets no report section), the subtotals and
// the three values the engine takes. The file does not record whether a Tc was typed or
// computed by its dialog; a checker can recompute it from the fields.
struct SolveInputs {
    bool hasOverland = false, hasShallow = false, hasChannel = false; // live rows of the kind
    std::vector<BasinInput> basins;                                   // insertion order
    std::vector<SurfaceInput> surfaces;
    std::vector<ChannelInput> channels;

    double overlandTc = 0.0, shallowTc = 0.0, channelTc = 0.0;             // minutes
    double overlandLength = 0.0, shallowLength = 0.0, channelLength = 0.0; // ft
    double totalArea = 0.0; // A, acres: the sub-basins' areas
    double averageC = 0.0;  // C: the sum of the sub-basins' (a/A) * C, 0 without area
    double totalTc = 0.0;   // Tc, minutes: overland + shallow + channel

    // True when the total area is 0: a/A, (a/A) * C and the average C are undefined.
    bool noArea() const { return totalArea == 0.0; }
    bool empty() const { return basins.empty() && surfaces.empty() && channels.empty(); }
};

// Reads every live element of the project ProjectPath and totals them. Reads only; throws Error
// when the file cannot be read.
SolveInputs CollectSolveInputs(const Workspace& ws);

// The totals of given values, as a solve of no drawn elements takes them.
SolveInputs LumpedSolveInputs(double area, double c, double tc);

} // namespace pluvane
