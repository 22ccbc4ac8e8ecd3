#include "core/hydraulics/Conveyance.h"

#include "core/Error.h"
#include "core/hydraulics/HydraulicsMessages.h"

#include <algorithm>
#include <cmath>

namespace pluvane {

namespace {

void requireAboveZero(std::string_view what, double value) {
    if (!std::isfinite(value) || !(value > 0.0))
        throw Error(NotAboveZeroMessage(what, value));
}

void requireFinite(double value) {
    if (!std::isfinite(value))
        throw Error(std::string(kConveyanceOutOfRange));
}

double manningFlow(const FlowSection& s, double n, double slope) {
    if (s.area <= 0.0 || s.wettedPerimeter <= 0.0)
        return 0.0;
    return kManningUs / n * s.area * std::pow(s.area / s.wettedPerimeter, 2.0 / 3.0) *
           std::sqrt(slope);
}

// Q / Qfull of a circular pipe at depth ratio r = y / D (independent of D, n and S).
double flowRatio(double r) {
    const FlowSection part = CircularSegment(1.0, r);
    const FlowSection full = CircularSegment(1.0, 1.0);
    if (part.area <= 0.0)
        return 0.0;
    return part.area / full.area *
           std::pow((part.area / part.wettedPerimeter) / (full.area / full.wettedPerimeter),
                    2.0 / 3.0);
}

// The maximum of the flow curve by golden-section search: it is smooth and has one peak
// between half full and full.
double findMaxFlowDepthRatio() {
    const double g = (std::sqrt(5.0) - 1.0) / 2.0;
    double a = 0.5, b = 1.0;
    double c = b - g * (b - a), d = a + g * (b - a);
    while (b - a > 1e-12) {
        if (flowRatio(c) > flowRatio(d))
            b = d;
        else
            a = c;
        c = b - g * (b - a);
        d = a + g * (b - a);
    }
    return (a + b) / 2.0;
}

// The x in [lo, hi] where an increasing f reaches `target`, by bisection.
template <class F>
double bisect(F f, double lo, double hi, double target) {
    for (int i = 0; i < 200 && hi - lo > 1e-13 * hi; ++i) {
        const double mid = (lo + hi) / 2.0;
        (f(mid) < target ? lo : hi) = mid;
    }
    return (lo + hi) / 2.0;
}

} // namespace

FlowSection CircularSegment(double diameterFt, double depthFt) {
    const double r = std::clamp(depthFt / diameterFt, 0.0, 1.0);
    // 2 acos(1 - 2 r) written as 4 asin(sqrt r), and t - sin t by its series for a small t,
    // so that a shallow flow keeps its digits instead of cancelling to 0.
    const double t = 4.0 * std::asin(std::sqrt(r));
    const double t3 = t * t * t;
    const double tMinusSin =
        t < 1e-2 ? t3 / 6.0 - t3 * t * t / 120.0 + t3 * t3 * t / 5040.0 : t - std::sin(t);
    return {diameterFt * diameterFt * tMinusSin / 8.0, diameterFt * t / 2.0};
}

double MaxFlowDepthRatio() {
    static const double ratio = findMaxFlowDepthRatio();
    return ratio;
}

double MaxFlowRatio() { return flowRatio(MaxFlowDepthRatio()); }

double PipeFlowAtDepth(double diameterFt, double depthFt, double n, double slope) {
    return manningFlow(CircularSegment(diameterFt, depthFt), n, slope);
}

void CheckPipeInputs(double q, double slope, double n, std::optional<double> diameterIn) {
    requireAboveZero("flow Q", q);
    requireAboveZero("slope", slope);
    requireAboveZero("Manning's n", n);
    if (diameterIn)
        requireAboveZero("pipe diameter", *diameterIn);
}

void CheckChannelInputs(double q, double slope, double n, double bottomFt, double sideSlope,
                        std::optional<double> availableDepthFt) {
    requireAboveZero("flow Q", q);
    requireAboveZero("slope", slope);
    requireAboveZero("Manning's n", n);
    requireAboveZero("bottom width", bottomFt);
    if (!std::isfinite(sideSlope) || sideSlope < 0.0)
        throw Error(NegativeValueMessage("side slope", sideSlope));
    if (availableDepthFt)
        requireAboveZero("available depth", *availableDepthFt);
}

std::optional<double> SizePipe(double q, double slope, double n) {
    requireAboveZero("flow Q", q);
    requireAboveZero("slope", slope);
    requireAboveZero("Manning's n", n);
    for (double inches : kStandardDiametersIn) {
        const double d = inches / 12.0;
        if (PipeFlowAtDepth(d, d, n, slope) >= q)
            return inches;
    }
    return std::nullopt;
}

PipeResult AnalyzePipe(double q, double slope, double n, std::optional<double> diameterIn) {
    CheckPipeInputs(q, slope, n, diameterIn);
    PipeResult out;
    if (diameterIn) {
        out.diameterIn = *diameterIn;
    } else {
        const std::optional<double> size = SizePipe(q, slope, n);
        if (!size)
            throw Error(NoStandardDiameterMessage(q, kStandardDiametersIn.back()));
        out.diameterIn = *size;
        out.sized = true;
    }
    const double d = out.diameterIn / 12.0;
    const double fullArea = CircularSegment(d, d).area;
    out.fullFlowCfs = PipeFlowAtDepth(d, d, n, slope);
    out.fullVelocityFps = out.fullFlowCfs / fullArea;
    const double yMax = MaxFlowDepthRatio() * d;
    out.maxFlowCfs = PipeFlowAtDepth(d, yMax, n, slope);
    requireFinite(out.fullFlowCfs);
    requireFinite(out.fullVelocityFps);
    requireFinite(out.maxFlowCfs);
    if (!(out.fullFlowCfs > 0.0))
        throw Error(std::string(kConveyanceOutOfRange));
    if (q > out.maxFlowCfs) {
        out.overCapacity = true;
        out.velocityFps = q / fullArea;
        return out;
    }
    const double y =
        bisect([&](double depth) { return PipeFlowAtDepth(d, depth, n, slope); }, 0.0, yMax, q);
    out.depthFt = y;
    out.percentFull = 100.0 * y / d;
    out.velocityFps = q / CircularSegment(d, y).area;
    requireFinite(out.velocityFps);
    return out;
}

FlowSection TrapezoidalSection(double bottomFt, double sideSlope, double depthFt) {
    return {depthFt * (bottomFt + sideSlope * depthFt),
            bottomFt + 2.0 * depthFt * std::sqrt(1.0 + sideSlope * sideSlope)};
}

ChannelResult AnalyzeChannel(double q, double slope, double n, double bottomFt, double sideSlope,
                             std::optional<double> availableDepthFt) {
    CheckChannelInputs(q, slope, n, bottomFt, sideSlope, availableDepthFt);
    const auto flow = [&](double y) {
        return manningFlow(TrapezoidalSection(bottomFt, sideSlope, y), n, slope);
    };
    // The flow rises with the depth: double the depth until it carries q, then halve.
    constexpr double kDeepest = 1e6; // ft, far beyond any channel
    double hi = 1.0;
    while (!(flow(hi) >= q)) { // a NaN flow carries nothing
        hi *= 2.0;
        if (hi > kDeepest || !std::isfinite(flow(hi)))
            throw Error(std::string(kChannelDepthOutOfRange));
    }
    ChannelResult out;
    out.normalDepthFt = bisect(flow, 0.0, hi, q);
    out.velocityFps = q / TrapezoidalSection(bottomFt, sideSlope, out.normalDepthFt).area;
    requireFinite(out.velocityFps);
    if (availableDepthFt) {
        out.availableDepthFt = availableDepthFt;
        out.capacityCfs = flow(*availableDepthFt);
        requireFinite(*out.capacityCfs);
    }
    return out;
}

double TravelTimeMinutes(double lengthFt, double velocityFps) {
    requireAboveZero("length", lengthFt);
    requireAboveZero("velocity", velocityFps);
    return lengthFt / velocityFps / 60.0;
}

} // namespace pluvane
