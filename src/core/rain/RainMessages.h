#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pluvane {

// Every message the rainfall file readers give, in one place, so that the wording can be read
// and kept consistent. Shown with the title "Error".

// Any rainfall file.
inline constexpr std::string_view kFileTooLarge = "The file is too large to be a rainfall table.";
inline constexpr std::string_view kFileIsUtf16 =
    "The file is saved as UTF-16 text; save it as CSV (comma delimited) and import that.";
inline constexpr std::string_view kFileNotText = "The file is not a text (CSV) file.";
inline constexpr std::string_view kFileNotRainfall =
    "The file is neither a NOAA Atlas 14 precipitation-frequency CSV (no line starting "
    "\"by duration for\") nor a table in Pluvane's CSV format (no header "
    "\"duration_hours,1,2,5,10,25,50,100\").";

// A NOAA Atlas 14 download (PFDS CSV).
inline constexpr std::string_view kOutsideCoverage =
    "The file holds no estimates: the data server says the point is not within a project area "
    "of NOAA Atlas 14. Pick a point inside the atlas' coverage, or enter the table of another "
    "source by hand.";
inline constexpr std::string_view kPfdsNoTable =
    "The file looks like a NOAA precipitation-frequency download but holds no table "
    "(no line starting \"by duration for\").";
inline constexpr std::string_view kPfdsAnnualMaximum =
    "This file holds the annual maximum series (AMS): its columns are annual exceedance "
    "probabilities 1/2 ... 1/1000 and it has no 1-year column. Pluvane's tables need the "
    "1-year to 100-year columns of the partial duration series; download the partial "
    "duration series (PDS) for the same point instead.";
inline constexpr std::string_view kPfdsNoUnits =
    "The file does not say its units: its first line should end with \"(inches)\", "
    "\"(inches/hour)\", \"(millimeters)\" or \"(millimeters/hour)\".";
inline constexpr std::string_view kPfdsMillimetresWarning =
    "The file gives millimeters; its values were converted to inches "
    "(1 in = 25.4 mm) and rounded to 3 significant figures.";

// Doubtful values of an imported table, warned about and not refused; `cell` is
// "5-min, 2-year: ".
inline std::string GridNotPositiveWarning(std::string_view cell, std::string_view value) {
    return std::string(cell) + "the intensity \"" + std::string(value) +
           "\" is not a positive number.";
}
inline std::string GridFallsWithPeriodWarning(std::string_view cell, std::string_view value,
                                              std::string_view shorterPeriod,
                                              std::string_view shorterValue) {
    return std::string(cell) + std::string(value) + " in/hr is less than the " +
           std::string(shorterPeriod) + " " + std::string(shorterValue) +
           " in/hr; intensity should rise with the return period.";
}
inline std::string GridRisesWithDurationWarning(std::string_view cell, std::string_view value,
                                                std::string_view shorterDuration,
                                                std::string_view shorterValue) {
    return std::string(cell) + std::string(value) + " in/hr is more than the " +
           std::string(shorterDuration) + " " + std::string(shorterValue) +
           " in/hr; intensity should fall as the duration grows.";
}

inline std::string PfdsUnitsDisagreeMessage(std::string_view units, std::string_view dataType) {
    return "The file's units (" + std::string(units) + ") and its data type (" +
           std::string(dataType) + ") disagree, so depth cannot be told from intensity.";
}
inline std::string PfdsNoColumnMessage(std::string_view period, std::string_view header) {
    return "The table has no column for the " + std::string(period) + " return period (header \"" +
           std::string(header) + "\").";
}
inline std::string PfdsRowTwiceMessage(std::string_view label) {
    return "The table has the row \"" + std::string(label) + "\" twice.";
}
inline std::string PfdsNoRowMessage(std::string_view label) {
    return "The table has no row \"" + std::string(label) +
           "\"; Pluvane needs the ten durations 5-min to 24-hr.";
}
inline std::string PfdsNoEstimateMessage(std::string_view period, std::string_view label) {
    return "The file has no " + std::string(period) + " " + std::string(label) +
           " value (\"None\"): the data server gave no estimate there, so the table "
           "cannot be completed from this file.";
}
inline std::string PfdsNotANumberMessage(std::string_view period, std::string_view label,
                                         std::string_view cell) {
    return "The " + std::string(period) + " " + std::string(label) + " value \"" +
           std::string(cell) + "\" is not a number.";
}

// The shipped CSV format; `where` is "line N: ".
inline std::string CsvExpectedHeaderMessage(std::string_view where) {
    return std::string(where) + "expected the header \"duration_hours,1,2,5,10,25,50,100\".";
}
inline std::string CsvNoPeriodColumnMessage(std::string_view where, int period) {
    return std::string(where) + "the header has no column for the " + std::to_string(period) +
           "-year return period.";
}
inline std::string CsvUnknownDurationMessage(std::string_view where, std::string_view cell) {
    return std::string(where) + "the duration \"" + std::string(cell) +
           "\" is not one of the ten stored durations (5 min to 24 hr).";
}
inline std::string CsvDurationTwiceMessage(std::string_view where, std::string_view cell) {
    return std::string(where) + "the duration \"" + std::string(cell) + "\" appears twice.";
}
inline std::string CsvNotPositiveMessage(std::string_view where, int period,
                                         std::string_view cell) {
    return std::string(where) + "the " + std::to_string(period) + "-year intensity \"" +
           std::string(cell) + "\" is not a positive number.";
}
inline constexpr std::string_view kCsvNoHeader =
    "The file has no header line \"duration_hours,1,2,5,10,25,50,100\".";
inline std::string CsvNoDurationRowMessage(std::string_view hours) {
    return "The file has no row for the duration " + std::string(hours) + " hours.";
}

// Writing a stored table in the shipped CSV format (WriteLocationCsv).
inline std::string CsvRowCountMessage(std::string_view name, std::size_t rows) {
    return "The rainfall table \"" + std::string(name) + "\" has " + std::to_string(rows) +
           " rows instead of ten; save it in the rainfall table editor first.";
}
// `row` counts from 1; `hours` is the stored duration of that place ("0.083333").
inline std::string CsvRowDurationMessage(std::size_t row, std::string_view name,
                                         std::string_view duration, std::string_view hours) {
    return "Row " + std::to_string(row) + " of the rainfall table \"" + std::string(name) +
           "\" has the duration \"" + std::string(duration) + "\" instead of " +
           std::string(hours) + " hours.";
}
// `cell` names the value: kCsvDurationCell or CsvIntensityCell(period).
inline std::string CsvCellNotPlainMessage(std::string_view cell, std::string_view text) {
    return std::string(cell) + " \"" + std::string(text) +
           "\" holds a comma, a control character or a blank at an end, which the CSV format "
           "cannot carry.";
}
inline std::string CsvNameEdgeBlankMessage(std::string_view name) {
    return "The rainfall table name \"" + std::string(name) +
           "\" begins or ends with a blank, which the CSV format cannot carry.";
}
inline constexpr std::string_view kCsvDurationCell = "The duration";
inline std::string CsvIntensityCell(int period) {
    return "The " + std::to_string(period) + "-year intensity";
}

// Reading a rainfall file from the disk (the table editor's import).
inline std::string RainfallFileUnreadableMessage(std::string_view path, std::string_view reason) {
    return "The file \"" + std::string(path) + "\" could not be read: " + std::string(reason);
}
inline std::string RainfallFileTooLargeMessage(std::string_view path) {
    return "The file \"" + std::string(path) + "\" is too large to be a rainfall table.";
}

} // namespace pluvane
