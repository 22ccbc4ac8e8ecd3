#include "core/elements/Formulas.h"

#include "core/elements/Catalogs.h"

#include <cmath>
#include <limits>

namespace pluvane {

// Every formula below spells out its intermediate results one by one: the order of the
// operations is part of the result, so an expression must not be regrouped or simplified.

double SheetFlowTc(double n, double L, double S, double P2) {
    const double roughLength = n * L;
    const double raised = std::pow(roughLength, 0.8);
    const double numerator = 0.007 * raised;
    const double slopeTerm = std::pow(S, 0.4);
    const double rainTerm = std::pow(P2, 0.5);
    const double denominator = rainTerm * slopeTerm;
    const double hours = numerator / denominator;
    return hours * 60.0;
}

ShallowFlow ShallowFlowVelocity(std::string_view type, double L, double S) {
    double coefficient = 0.0;
    if (type == kUnpaved)
        coefficient = 16.13;
    else if (type == kPaved)
        coefficient = 20.33;
    else
        return {0.0, std::numeric_limits<double>::quiet_NaN()};
    const double root = std::pow(S, 0.5);
    const double velocity = root * coefficient;
    const double perHour = velocity * 60.0 * 60.0;
    return {velocity, L / perHour};
}

double ManningVelocity(double A, double WP, double S, double n, ManningOrder order) {
    const double radius = A / WP;
    const double radiusTerm = std::pow(radius, 2.0 / 3.0);
    if (order == ManningOrder::AddDialog) {
        const double scaled = radiusTerm * 1.486;
        const double slopeTerm = std::pow(S, 1.0 / 2.0);
        const double product = scaled * slopeTerm;
        return product / n;
    }
    const double conveyance = radiusTerm * (1.486 / n);
    const double slopeTerm = std::pow(S, 1.0 / 2.0);
    return conveyance * slopeTerm;
}

TrapezoidResult TrapezoidSection(double B, double Y, double Z) {
    const double sideRun = Y * Z;
    const double topPart = sideRun + B;
    const double area = Y * topPart;
    const double sumOfSquares = std::pow(sideRun, 2.0) + std::pow(Y, 2.0);
    const double side = std::pow(sumOfSquares, 1.0 / 2.0);
    const double bothSides = side + side;
    return {area, bothSides + B};
}

} // namespace pluvane
