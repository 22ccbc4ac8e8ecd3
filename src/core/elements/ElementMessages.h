#pragma once

#include <string>
#include <string_view>

namespace pluvane {

// Every message the element dialogs show, in one place so that the wording stays consistent.
// All are shown with the title kElementErrorTitle.

inline constexpr std::string_view kElementErrorTitle = "Error";

// A required field of an element dialog is empty (the dialogs' own fill check).
inline constexpr std::string_view kFillAllFields = "Please fill all fields";

// A field that must hold a plain number ("12.5", "-3") holds something else.
inline std::string FieldNotANumberMessage(std::string_view label, std::string_view text) {
    return std::string(label) + ": '" + std::string(text) + "' is not a number";
}

// Values that leave a formula undefined, or that no site can have.
inline constexpr std::string_view kSlopeNotPositive = "The slope must be greater than 0.";
inline constexpr std::string_view kLengthNotPositive = "The length must be greater than 0.";
inline constexpr std::string_view kAreaNotPositive = "The area must be greater than 0.";
inline constexpr std::string_view kCOutsideZeroToOne = "C must be between 0 and 1";
inline constexpr std::string_view kRoughnessNotPositive =
    "The roughness coefficient n must be greater than 0.";
inline constexpr std::string_view kSectionAreaNotPositive =
    "The section area must be greater than 0.";
inline constexpr std::string_view kWettedPerimeterNotPositive =
    "The wetted perimeter must be greater than 0.";
inline constexpr std::string_view kUnknownSurfaceType =
    "The surface type must be \"Unpaved\" or \"Paved\".";

// Values that are each acceptable but whose result does not fit in a number.
inline constexpr std::string_view kTcOutOfRange =
    "The time of concentration cannot be calculated: the values are too large or too small.";
inline constexpr std::string_view kVelocityOutOfRange =
    "The velocity cannot be calculated: the values are too large or too small.";
inline constexpr std::string_view kSectionOutOfRange =
    "The section cannot be calculated: the values are too large.";

// The current rainfall table gives a 2-year 24-hour rainfall of 0 (or none that is usable).
inline std::string RainfallNotUsableMessage(std::string_view table) {
    return "The rainfall table \"" + std::string(table) +
           "\" has no usable 2-year 24-hour rainfall: its 2-year intensity for 24 hours must be "
           "a number greater than 0. Please correct the table.";
}

// An element row with this tag exists already, so a second one would make the tag ambiguous.
inline std::string DuplicateTagMessage(std::string_view tag) {
    return "An element with the tag \"" + std::string(tag) +
           "\" already exists in the project; the new element was not saved.";
}

} // namespace pluvane
