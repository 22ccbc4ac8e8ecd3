#pragma once

#include <array>
#include <optional>

namespace pluvane {

// Uniform flow by Manning's equation in US units, V = (1.486 / n) R^(2/3) S^(1/2) (ft/s),
// for the pipe or channel that carries the design flow away from the outlet. Every function
// checks its inputs: a value that is not a finite number above 0 throws Error naming it.

inline constexpr double kManningUs = 1.486;

// The standard pipe diameters "size it" chooses from, in inches, smallest first.
inline constexpr std::array<double, 15> kStandardDiametersIn{12, 15, 18, 21, 24, 27, 30, 33,
                                                             36, 42, 48, 54, 60, 66, 72};

// Flow area (sq ft) and wetted perimeter (ft) of a circular pipe of diameter D (ft) flowing at
// depth y (0 <= y <= D): the circular segment of central angle t = 2 acos(1 - 2 y / D),
// A = D^2 (t - sin t) / 8, P = D t / 2.
struct FlowSection {
    double area;
    double wettedPerimeter;
};
FlowSection CircularSegment(double diameterFt, double depthFt);

// The depth ratio y / D at which a circular pipe carries its largest open-channel flow, and
// that flow as a multiple of the full flow (about 0.938 and 1.076): above it the pipe cannot
// carry the flow without surcharging.
double MaxFlowDepthRatio();
double MaxFlowRatio();

// Manning flow (cfs) of a circular pipe at depth y, 0 <= y <= D (ft).
double PipeFlowAtDepth(double diameterFt, double depthFt, double n, double slope);

struct PipeResult {
    double diameterIn = 0;
    bool sized = false;     // chosen by "size it" rather than given
    double fullFlowCfs = 0; // flowing just full
    double fullVelocityFps = 0;
    double maxFlowCfs = 0;             // the largest open-channel flow (at MaxFlowDepthRatio)
    bool overCapacity = false;         // q above maxFlowCfs: no normal depth
    std::optional<double> depthFt;     // normal depth, absent when over capacity
    std::optional<double> percentFull; // 100 y / D, absent when over capacity
    double velocityFps = 0;            // q / A at the normal depth; over capacity q / full area
};

// The pipe for flow q (cfs) at slope S (ft/ft) with roughness n. With a diameter (in), that
// pipe; without, the smallest standard diameter whose full flow carries q (throws Error when
// none up to 72 in does). The normal depth is found on the rising branch of the flow curve,
// from empty up to the depth of the largest flow.
PipeResult AnalyzePipe(double q, double slope, double n, std::optional<double> diameterIn);

// The input checks of AnalyzePipe and AnalyzeChannel alone: throw Error naming the first value
// that is not a finite number above 0 (the side slope: 0 or more).
void CheckPipeInputs(double q, double slope, double n, std::optional<double> diameterIn);
void CheckChannelInputs(double q, double slope, double n, double bottomFt, double sideSlope,
                        std::optional<double> availableDepthFt);

// The smallest standard diameter (in) whose full flow carries q; absent when none does.
std::optional<double> SizePipe(double q, double slope, double n);

// Flow area and wetted perimeter of a trapezoidal channel of bottom width b (ft) and side
// slope z (horizontal per vertical, both sides) at depth y (ft).
FlowSection TrapezoidalSection(double bottomFt, double sideSlope, double depthFt);

struct ChannelResult {
    double normalDepthFt = 0;
    double velocityFps = 0;
    std::optional<double> capacityCfs;      // at the available depth, when given
    std::optional<double> availableDepthFt; // as given
};

// The trapezoidal channel for flow q (cfs) at slope S with roughness n, bottom width b > 0 and
// side slope z >= 0; the capacity when an available depth is given.
ChannelResult AnalyzeChannel(double q, double slope, double n, double bottomFt, double sideSlope,
                             std::optional<double> availableDepthFt);

// Minutes to travel `lengthFt` at `velocityFps`.
double TravelTimeMinutes(double lengthFt, double velocityFps);

} // namespace pluvane
