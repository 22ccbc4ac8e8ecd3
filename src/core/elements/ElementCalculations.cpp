#include "core/elements/ElementCalculations.h"

#include "core/Error.h"
#include "core/Workspace.h"
#include "core/elements/Catalogs.h"
#include "core/elements/ElementMessages.h"
#include "core/store/IntensityDb.h"
#include "core/text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace pluvane {

namespace {

void require(bool condition, std::string_view message) {
    if (!condition)
        throw Error(std::string(message), std::string(kElementErrorTitle));
}

constexpr int kTimeDecimals = 4;    // velocities and Tc
constexpr int kSectionDecimals = 2; // area and wetted perimeter

// What a field's value must be, and the message that refuses any other.
enum class Range { AboveZero, ZeroToOne };
struct ValueRule {
    std::string_view text;
    Range range;
    std::string_view message;
};

// The first value outside its range is refused with its rule's message; the texts are read
// with the lenient parse, so an empty text reads as 0.
void checkValues(std::initializer_list<ValueRule> rules) {
    for (const ValueRule& rule : rules) {
        const double value = ParseLenient(rule.text);
        require(rule.range == Range::AboveZero ? value > 0.0 : value >= 0.0 && value <= 1.0,
                rule.message);
    }
}

} // namespace

// The rules of each kind in the order of its dialog's fields, top first, so the first value at
// fault is the one named.

void CheckBasinValues(const BasinFields& f) {
    checkValues({{f.area, Range::AboveZero, kAreaNotPositive},
                 {f.slope, Range::AboveZero, kSlopeNotPositive},
                 {f.c, Range::ZeroToOne, kCOutsideZeroToOne},
                 {f.travelLength, Range::AboveZero, kLengthNotPositive},
                 {f.n, Range::AboveZero, kRoughnessNotPositive}});
}

void CheckSurfaceValues(const SurfaceFields& f) {
    checkValues({{f.length, Range::AboveZero, kLengthNotPositive},
                 {f.slope, Range::AboveZero, kSlopeNotPositive}});
}

void CheckChannelValues(const ChannelFields& f) {
    checkValues({{f.area, Range::AboveZero, kSectionAreaNotPositive},
                 {f.wettedPerimeter, Range::AboveZero, kWettedPerimeterNotPositive},
                 {f.slope, Range::AboveZero, kSlopeNotPositive},
                 {f.n, Range::AboveZero, kRoughnessNotPositive},
                 {f.length, Range::AboveZero, kLengthNotPositive}});
}

std::string CalculateSheetFlowTc(const Workspace& ws, const std::string& location,
                                 std::string_view nText, std::string_view lengthText,
                                 std::string_view slopeText) {
    // The sub-basin's rules for the fields Tc reads (CheckBasinValues has them all).
    checkValues({{nText, Range::AboveZero, kRoughnessNotPositive},
                 {lengthText, Range::AboveZero, kLengthNotPositive},
                 {slopeText, Range::AboveZero, kSlopeNotPositive}});
    const double n = ParseLenient(nText);
    const double length = ParseLenient(lengthText);
    const double slope = ParseLenient(slopeText);

    const double rainfall = ReadTwoYearDailyIntensity(ws, location) * 24.0;
    if (!(rainfall > 0.0 && std::isfinite(rainfall)))
        throw Error(RainfallNotUsableMessage(location), std::string(kElementErrorTitle));

    const double tc = SheetFlowTc(n, length, slope, rainfall);
    require(std::isfinite(tc), kTcOutOfRange);
    return FormatFixed(tc, kTimeDecimals);
}

ShallowFlowTexts CalculateShallowFlow(std::string_view type, std::string_view lengthText,
                                      std::string_view slopeText) {
    require(std::find(kSurfaceTypes.begin(), kSurfaceTypes.end(), type) != kSurfaceTypes.end(),
            kUnknownSurfaceType);
    SurfaceFields fields;
    fields.length = lengthText;
    fields.slope = slopeText;
    CheckSurfaceValues(fields);
    const double length = ParseLenient(lengthText);
    const double slope = ParseLenient(slopeText);

    const ShallowFlow flow = ShallowFlowVelocity(type, length, slope);
    const double tc = flow.travelHours * 60.0;
    require(std::isfinite(flow.velocity) && flow.velocity > 0.0, kVelocityOutOfRange);
    require(std::isfinite(tc), kTcOutOfRange);
    return {FormatFixed(flow.velocity, kTimeDecimals), FormatFixed(tc, kTimeDecimals)};
}

ChannelFlowTexts CalculateChannelFlow(std::string_view areaText, std::string_view wpText,
                                      std::string_view slopeText, std::string_view nText,
                                      std::string_view lengthText, ManningOrder order) {
    ChannelFields fields;
    fields.area = areaText;
    fields.wettedPerimeter = wpText;
    fields.slope = slopeText;
    fields.n = nText;
    fields.length = lengthText;
    CheckChannelValues(fields);
    const double area = ParseLenient(areaText);
    const double wettedPerimeter = ParseLenient(wpText);
    const double slope = ParseLenient(slopeText);
    const double n = ParseLenient(nText);
    const double length = ParseLenient(lengthText);

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
