#pragma once

#include "core/text/NumberText.h"

#include <string>
#include <string_view>

namespace pluvane {

// Every message of the outlet conveyance (its computations, its stored row and its dialog), in
// one place. Shown with the title "Error".

// An input that must be a finite number above 0 is not; `what` names it ("the slope"),
// `value` is the number as read.
inline std::string NotAboveZeroMessage(std::string_view what, double value) {
    return "The " + std::string(what) + " must be a number greater than 0, not " +
           PlainNumberText(value) + ".";
}
// The same for an input that may be 0 (a channel's side slope: 0 is a rectangle).
inline std::string NegativeValueMessage(std::string_view what, double value) {
    return "The " + std::string(what) + " must be a number of 0 or more, not " +
           PlainNumberText(value) + ".";
}
// A stored or typed text that holds no number at all.
inline std::string NotANumberMessage(std::string_view what, std::string_view text) {
    return "The " + std::string(what) + " must be a number, not \"" + std::string(text) + "\".";
}
// "Size it" found no standard diameter large enough.
inline std::string NoStandardDiameterMessage(double q, double largestIn) {
    return "No standard pipe diameter up to " + PlainNumberText(largestIn) + " in carries " +
           FormatFixed(q, 2) + " cfs flowing full at this slope and n.";
}
// A channel whose flow would not fit in any reasonable depth.
inline constexpr std::string_view kChannelDepthOutOfRange =
    "The channel's normal depth cannot be found: the flow is too large for the section.";
// Inputs each acceptable whose result does not fit in a number.
inline constexpr std::string_view kConveyanceOutOfRange =
    "The conveyance cannot be calculated: the values are too large or too small.";
// A stored kind that is neither of the two.
inline std::string UnknownConveyanceKindMessage(std::string_view kind) {
    return "The conveyance kind must be \"Pipe\" or \"Channel\", not \"" + std::string(kind) +
           "\".";
}
// A stored design return period that is not one of the seven.
inline std::string UnknownDesignPeriodMessage(std::string_view text) {
    return "The design return period must be 1, 2, 5, 10, 25, 50 or 100 years, not \"" +
           std::string(text) + "\".";
}

// Where the design flow of the conveyance comes from, when there is none.
inline constexpr std::string_view kSolveFirst =
    "Solve first: the project has no stored peak flow for this return period.";
// The report's results line when its solve gave no flow (the runoff rates above say why).
inline constexpr std::string_view kNoSolvedFlow = "none: the solve gave no peak flow";
// The pipe carries more than its largest open-channel flow.
inline constexpr std::string_view kPipeOverCapacity =
    "over capacity: the flow exceeds the largest the pipe carries as an open channel";

} // namespace pluvane
