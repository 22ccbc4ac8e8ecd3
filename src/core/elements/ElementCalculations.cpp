#include "core/elements/ElementCalculations.h"

#include "core/Error.h"
#include "core/Workspace.h"
#include "core/elements/Catalogs.h"
#include "core/elements/ElementMessages.h"
#include "core/store/IntensityDb.h"
#include "core/text/NumberText.h"

#include <algorithm>
#include <cmath>

namespace pluvane {

namespace {

void require(bool condition, std::string_view message) {
    if (!condition)
        throw Error(std::string(message), std::string(kElementErrorTitle));
}

constexpr int kTimeDecimals = 4;    // velocities and Tc
constexpr int kSectionDecimals = 2; // area and wetted perimeter

} // namespace

std::string CalculateSheetFlowTc(const Workspace& ws, std::string_view nText,
                                 std::string_view lengthText, std::string_view slopeText) {
    const double n = ParseLenient(nText);
    const double length = ParseLenient(lengthText);
    const double slope = ParseLenient(slopeText);
    require(n >= 0.0, kRoughnessNegative);
    require(length >= 0.0, kLengthNegative);
    require(slope > 0.0, kSlopeNotPositive);

    const double rainfall = ReadTwoYearDailyIntensity(ws) * 24.0;
    if (!(rainfall > 0.0 && std::isfinite(rainfall)))
        throw Error(RainfallNotUsableMessage(ws.CurrentIntensityTable),
                    std::string(kElementErrorTitle));

    const double tc = SheetFlowTc(n, length, slope, rainfall);
    require(std::isfinite(tc), kTcOutOfRange);
    return FormatFixed(tc, kTimeDecimals);
}

ShallowFlowTexts CalculateShallowFlow(std::string_view type, std::string_view lengthText,
                                      std::string_view slopeText) {
    require(std::find(kSurfaceTypes.begin(), kSurfaceTypes.end(), type) != kSurfaceTypes.end(),
            kUnknownSurfaceType);
    const double length = ParseLenient(lengthText);
    const double slope = ParseLenient(slopeText);
    require(slope > 0.0, kSlopeNotPositive);
    require(length >= 0.0, kLengthNegative);

    const ShallowFlow flow = ShallowFlowVelocity(type, length, slope);
    const double tc = flow.travelHours * 60.0;
    require(std::isfinite(flow.velocity) && flow.velocity > 0.0, kVelocityOutOfRange);
    require(std::isfinite(tc), kTcOutOfRange);
    return {FormatFixed(flow.velocity, kTimeDecimals), FormatFixed(tc, kTimeDecimals)};
}

ChannelFlowTexts CalculateChannelFlow(std::string_view areaText, std::string_view wpText,
                                      std::string_view slopeText, std::string_view nText,
                                      std::string_view lengthText, ManningOrder order) {
    const double area = ParseLenient(areaText);
    const double wettedPerimeter = ParseLenient(wpText);
    const double slope = ParseLenient(slopeText);
    const double n = ParseLenient(nText);
    const double length = ParseLenient(lengthText);
    require(area > 0.0, kSectionAreaNotPositive);
    require(wettedPerimeter > 0.0, kWettedPerimeterNotPositive);
    require(slope > 0.0, kSlopeNotPositive);
    require(n > 0.0, kRoughnessNotPositive);
    require(length >= 0.0, kLengthNegative);

    const double velocity = ManningVelocity(area, wettedPerimeter, slope, n, order);
    // Extreme but positive inputs can still overflow, or underflow to a velocity of 0.
    require(std::isfinite(velocity) && velocity > 0.0, kVelocityOutOfRange);
    const double tc = length / (velocity * 60.0);
    require(std::isfinite(tc), kTcOutOfRange);
    return {FormatFixed(velocity, kTimeDecimals), FormatFixed(tc, kTimeDecimals)};
}

TrapezoidTexts CalculateTrapezoid(std::string_view bText, std::string_view yText,
                                  std::string_view zText) {
    const double b = ParseLenient(bText);
    const double y = ParseLenient(yText);
    const double z = ParseLenient(zText);
    const TrapezoidResult section = TrapezoidSection(b, y, z);
    require(std::isfinite(section.area) && std::isfinite(section.wettedPerimeter),
            kSectionOutOfRange);
    return {FormatFixed(section.area, kSectionDecimals),
            FormatFixed(section.wettedPerimeter, kSectionDecimals)};
}

} // namespace pluvane
