#pragma once

#include "core/elements/ElementRecords.h"
#include "core/elements/Formulas.h"

#include <string>
#include <string_view>

namespace pluvane {

struct Workspace;

// What the Calculate button of each element dialog does: the field texts are read with the
// lenient parse, the result is formatted as the dialog shows it. Values that leave the result
// undefined or not finite are refused with pluvane::Error (title "Error") naming the value at
// fault, so no dialog ever shows or stores a non-number. Empty-field checks stay with the
// dialogs: an empty text here simply reads as 0.

// The values a field of each kind must hold, checked by the dialogs on Calculate and on
// Add/Update before anything is computed or stored: every area, length, slope and n above 0, a
// sub-basin's C from 0 to 1. The first value at fault, in the dialog's order from the top, is
// refused with pluvane::Error (title "Error"). Texts are read with the lenient parse (empty
// reads as 0); the name, the lists and the computed fields are not checked here.
void CheckBasinValues(const BasinFields& fields);
void CheckSurfaceValues(const SurfaceFields& fields);
void CheckChannelValues(const ChannelFields& fields);

// Overland flow: Tc in minutes, "#0.0000". The 2-year 24-hour rainfall is 24 times the 2-year
// intensity of the 24-hour row of the rainfall table `location`. Refuses an n, length or slope
// that is not above 0 and a rainfall that is not above 0 (naming the table); the field values
// are checked before the rainfall table is read. Errors reading the rainfall table (none given,
// table missing, no 24-hour row) pass through unchanged.
std::string CalculateSheetFlowTc(const Workspace& ws, const std::string& location,
                                 std::string_view nText, std::string_view lengthText,
                                 std::string_view slopeText);

struct FlowTexts {
    std::string velocity; // ft/s, "#0.0000"
    std::string tc;       // minutes, "#0.0000"
};
using ShallowFlowTexts = FlowTexts;
using ChannelFlowTexts = FlowTexts;

// Shallow concentrated flow over "Unpaved" or "Paved" (exact text). Refuses any other type and the
// values CheckSurfaceValues refuses.
ShallowFlowTexts CalculateShallowFlow(std::string_view type, std::string_view lengthText,
                                      std::string_view slopeText);

// Channel flow by Manning's equation in the given dialog's order; Tc = L / (V * 60) with the
// unrounded V. Refuses the values CheckChannelValues refuses (a zero area gives V = 0, leaving Tc
// undefined).
ChannelFlowTexts CalculateChannelFlow(std::string_view areaText, std::string_view wpText,
                                      std::string_view slopeText, std::string_view nText,
                                      std::string_view lengthText, ManningOrder order);

struct TrapezoidTexts {
    std::string area;            // sq ft, "#0.00"
    std::string wettedPerimeter; // ft, "#0.00"
};

// Trapezoidal section from bottom width, depth and side slope. Not validated (empty fields give
// "0.00"; the channel dialog refuses a zero perimeter); only a result too large for a number is
// refused.
TrapezoidTexts CalculateTrapezoid(std::string_view bText, std::string_view yText,
                                  std::string_view zText);

} // namespace pluvane
