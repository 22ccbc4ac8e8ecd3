#pragma once

#include <string_view>

namespace pluvane {

// The hydraulic formulas of the three element kinds, in 64-bit floating point. Each is
// evaluated in one fixed order, because results are shown to four decimals and compared with
// earlier calculations down to the last bits. None of them validates its inputs: a zero slope
// or perimeter gives an infinite or NaN result, which the calculations of the element dialogs
// (ElementCalculations.h) reject before anything is shown or stored.

// Kinematic-wave sheet flow: Tc in minutes for roughness n, travel length L (ft), slope S
// (ft/ft) and 2-year 24-hour rainfall P2 (in).
// Tt = 0.007 (n L)^0.8 / (P2^0.5 S^0.4) hours; Tc = Tt * 60.
double SheetFlowTc(double n, double L, double S, double P2);

struct ShallowFlow {
    double velocity;    // ft/s
    double travelHours; // h
};

// Shallow concentrated flow over a surface type compared exactly: "Unpaved" V = 16.13 S^0.5,
// "Paved" V = 20.33 S^0.5 (ft/s); travel time T = L / (V * 60 * 60) hours for length L (ft).
// Any other type has no velocity law: V is 0 and T is NaN.
ShallowFlow ShallowFlowVelocity(std::string_view type, double L, double S);

// The two dialogs of a channel evaluate Manning's equation in different orders; stored
// velocities of each must be reproduced as that dialog computed them.
enum class ManningOrder {
    AddDialog,    // (R^(2/3) * 1.486) * S^(1/2), then / n
    UpdateDialog, // R^(2/3) * (1.486 / n), then * S^(1/2)
};

// Manning velocity in ft/s for section area A (sq ft), wetted perimeter WP (ft), slope S
// (ft/ft) and roughness n, with hydraulic radius R = A / WP.
double ManningVelocity(double A, double WP, double S, double n, ManningOrder order);

struct TrapezoidResult {
    double area;            // sq ft
    double wettedPerimeter; // ft
};

// A trapezoidal section of bottom width B (ft), flow depth Y (ft) and side slope Z (horizontal
// per unit vertical, both sides): Area = Y (Y Z + B), WP = 2 ((Y Z)^2 + Y^2)^(1/2) + B.
TrapezoidResult TrapezoidSection(double B, double Y, double Z);

} // namespace pluvane
