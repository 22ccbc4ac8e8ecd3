#pragma once

#include <string>
#include <string_view>

namespace pluvane {

// Every message the solve gives, in one place, so that the wording can be read and kept
// consistent. Shown with the title "Error"; a batch solve or the report prints them as the
// reason a project was not solved.

// "The rainfall table \"NAME\"", or "The rainfall table" when the rows came without a name.
inline std::string SolveTableName(std::string_view table) {
    return table.empty() ? std::string("The rainfall table")
                         : "The rainfall table \"" + std::string(table) + "\"";
}

// The area, C and Tc of the project (`name` is "total area", "run-off coefficient", ...).
inline std::string InputNotANumberMessage(std::string_view name) {
    return "The " + std::string(name) + " is not a number; check the element data.";
}
inline std::string InputTooLargeMessage(std::string_view name) {
    return "The " + std::string(name) + " is too large to compute with; check the element data.";
}

// One intensity of the table; `why` is kIntensityMissing or an IntensityValueReason.
inline std::string IntensityRefusedMessage(std::string_view table, std::string_view duration,
                                           int period, std::string_view why) {
    return SolveTableName(table) + " cannot be used: its intensity for " + std::string(duration) +
           " and " + std::to_string(period) + " years " + std::string(why) +
           ". Correct the table before solving.";
}
inline constexpr std::string_view kIntensityMissing = "is missing";
inline constexpr std::string_view kIntensityTooLarge = "is too large to compute with";
inline constexpr std::string_view kIntensityNotANumber = "is not a number";
inline constexpr std::string_view kIntensityNotPositive = "is not positive";
inline constexpr std::string_view kIntensityTooSmall = "is too small to compute with";
// The cell's text and one of the clauses above: "(\"abc\") is not a number".
inline std::string IntensityValueReason(std::string_view text, std::string_view clause) {
    return "(\"" + std::string(text) + "\") " + std::string(clause);
}

inline std::string InterpolationRefusedMessage(std::string_view table, int period,
                                               std::string_view lower, std::string_view upper) {
    return SolveTableName(table) + " cannot be used: interpolating its " + std::to_string(period) +
           "-year intensities between " + std::string(lower) + " and " + std::string(upper) +
           " gives no finite positive value. Correct the table before solving.";
}

// `tc` is the time of concentration in minutes as it is written in the report.
inline std::string PeakTooLargeMessage(int period, std::string_view tc, std::string_view table) {
    return "The " + std::to_string(period) + "-year peak flow for a Tc of " + std::string(tc) +
           " min with " + SolveTableName(table).replace(0, 1, "t") +
           " is too large to compute; check the sub-basin areas.";
}

// The project has no sub-basin to solve (the Solve command and the command line's solve).
inline constexpr std::string_view kNothingToSolve = "Nothing to Solve";

// The project's rainfall table (ComputeResults).
inline constexpr std::string_view kRowsMissing =
    "The rainfall table has no rows; enter its values before solving.";
inline constexpr std::string_view kNoTableForSolve =
    "No rainfall intensity table is chosen for this project; choose one before solving.";
inline std::string TableHasNoRowsMessage(std::string_view table) {
    return "The rainfall table \"" + std::string(table) +
           "\" has no rows; enter its values before solving.";
}

// A stored value no site can have (RefuseUnphysicalInputs): "Sub-basin 'North lawn': the area
// -1 is below 0; correct it before solving." `kind` is one of the element words, `noun` one of
// the value names and `reason` one of the clauses below; `value` is the text as stored.
inline constexpr std::string_view kSubBasin = "Sub-basin";
inline constexpr std::string_view kShallowSegment = "Shallow flow segment";
inline constexpr std::string_view kChannelSegment = "Channel segment";
inline constexpr std::string_view kAreaNoun = "the area";
inline constexpr std::string_view kCNoun = "the run-off coefficient";
inline constexpr std::string_view kTcNoun = "the Tc";
inline constexpr std::string_view kBelowZero = "is below 0";
inline constexpr std::string_view kOutsideZeroToOne = "is outside 0 to 1";
inline constexpr std::string_view kNotFinite = "is not a finite number";
inline std::string UnphysicalInputMessage(std::string_view kind, std::string_view name,
                                          std::string_view noun, std::string_view value,
                                          std::string_view reason) {
    return std::string(kind) + " '" + std::string(name) + "': " + std::string(noun) + " " +
           std::string(value) + " " + std::string(reason) + "; correct it before solving.";
}

} // namespace pluvane
