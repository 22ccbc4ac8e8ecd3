#pragma once

#include "core/elements/ElementRecords.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pluvane {

// What a plan reviewer would ask about a project, found before the reviewer does. The notes
// stand beside the results: no check changes a computed value, refuses a value or alters the
// standard report.

enum class Severity {
    Warning, // a reviewer would likely reject the submittal for it
    Note,    // a reviewer would ask about it
};
// "warning" or "note".
std::string_view SeverityText(Severity severity);

// One check: its code, how serious it is, its threshold and the published source behind it.
// The threshold's meaning is the check's own (a length in ft, a slope in ft/ft, ...); 0 where
// the check has none.
struct ReviewRule {
    std::string_view code;
    Severity severity;
    double threshold;
    std::string_view reference;
};

// Every check, in the order findings are listed for one element. The one place thresholds live.
inline constexpr std::array<ReviewRule, 23> kReviewRules{{
    {"SHEET_LENGTH_100", Severity::Warning, 100.0, "NRCS NEH 630 ch. 15, 2010"},
    {"SHEET_LENGTH_300", Severity::Warning, 300.0, "TR-55, 1986, ch. 3"},
    // n L / sqrt(S) <= 100 (ft), i.e. L <= 100 sqrt(S) / n.
    {"SHEET_MCCUEN_SPIESS", Severity::Warning, 100.0,
     "McCuen and Spiess, 1995; NRCS NEH 630 eq. 15-9"},
    {"SLOPE_PERCENT", Severity::Warning, 0.5, "slopes are in ft/ft, TR-55, 1986"},
    // Kinematic-wave and velocity laws lose their footing on low slopes (KC et al. found 0.1 %
    // the bound for overland flow); only clearly flat ground is flagged.
    {"SLOPE_FLAT", Severity::Note, 0.0005, "KC et al., J. Hydrol. Eng., 2014"},
    {"C_RANGE", Severity::Warning, 1.0, "rational method, FHWA HEC-22, 2009"},
    {"CF_CAPPED", Severity::Note, 1.0, "C x Cf at most 1.0, FHWA HEC-22, 2009"},
    {"AREA_LARGE", Severity::Warning, 200.0, "rational method up to 200 ac, FHWA HEC-22, 2009"},
    {"AREA_ZERO", Severity::Warning, 0.0, "Q = C Cf I A"},
    {"TC_SHORT", Severity::Note, 5.0, "minimum Tc of 5 min, FHWA HEC-22, 2009"},
    // In hours; the solve takes the table's last row from its longest duration on, which is
    // 24 h in every shipped table (a shorter table lowers the bound to its own last row).
    {"TC_BEYOND_TABLE", Severity::Warning, 24.0, "the rainfall table's longest duration"},
    {"TC_TYPED", Severity::Note, 0.0, "Tc as the sum of travel times, TR-55, 1986, ch. 3"},
    // Relative difference between a stored value and its recomputation.
    {"TC_STALE", Severity::Warning, 0.005, "Tc as the sum of travel times, TR-55, 1986, ch. 3"},
    {"N_CUSTOM", Severity::Note, 0.0, "Manning's n, TR-55, 1986, table 3-1; Chow, 1959"},
    {"RAIN_NO_SOURCE", Severity::Note, 0.0,
     "cite the precipitation-frequency source, e.g. NOAA Atlas 14"},
    {"RAIN_EDITED", Severity::Note, 0.0,
     "published precipitation-frequency values, e.g. NOAA Atlas 14"},
    {"RAIN_ORDER", Severity::Warning, 0.0, "intensity-duration-frequency tables, NOAA Atlas 14"},
    // An area or a Tc below 0 (or not a finite number): the solve refuses the project.
    {"VALUE_REFUSED", Severity::Warning, 0.0, "no site has a negative area or travel time"},
    // The outlet conveyance at the design flow; velocities in ft/s. HEC-22 asks 3 ft/s flowing
    // full and names no upper velocity: the 2 and 10 ft/s at the design flow are local rules.
    {"CONVEYANCE_SLOW", Severity::Note, 2.0,
     "2 ft/s at the design flow, a common local rule; FHWA HEC-22, 2024, ch. 9 keeps 3 ft/s "
     "flowing full"},
    {"CONVEYANCE_FAST", Severity::Warning, 10.0,
     "10 ft/s, a common local rule; abrasion at high velocity, FHWA HEC-22, 2024, ch. 9"},
    // A pipe's own velocity flowing full, whatever the design flow.
    {"PIPE_FULL_SLOW", Severity::Note, 3.0,
     "self-cleaning velocity, 3 ft/s flowing full, FHWA HEC-22, 2024, ch. 9"},
    {"CONVEYANCE_OVER_CAPACITY", Severity::Warning, 0.0,
     "storm drain capacity by Manning's equation, FHWA HEC-22, 2024, ch. 9"},
    {"CHANNEL_TOO_SHALLOW", Severity::Warning, 0.0,
     "channel normal depth within the available depth, FHWA HEC-22, 2024, ch. 6"},
}};

// The rule of a code; throws Error for a code not in the table.
const ReviewRule& ReviewRuleOf(std::string_view code);

// One note. `element` is the tag of the element it is about (none for the project or its
// rainfall); `name` is that element's name, or the project's or the rainfall location's.
struct Finding {
    std::string code;
    Severity severity = Severity::Note;
    std::optional<std::string> element;
    std::string name;
    std::string message;
    std::string reference;
    bool operator==(const Finding&) const = default;
};

// The findings of one element from its field texts (stored or as a dialog shows them).
// `twoYearRainfall` is the 2-year 24-hour rainfall P2 (in) that its Tc would be computed with;
// without it a sub-basin's Tc is not recomputed. Empty when nothing trips.
std::vector<Finding> ReviewBasin(const std::string& tag, const BasinFields& fields,
                                 std::optional<double> twoYearRainfall);
std::vector<Finding> ReviewSurface(const std::string& tag, const SurfaceFields& fields);
std::vector<Finding> ReviewChannel(const std::string& tag, const ChannelFields& fields);

// One line of a finding: `warning Basin3 "North lawn": MESSAGE (REFERENCE)`; the tag is left
// out when there is none, the quoted name when it is empty.
std::string FindingLine(const Finding& finding);

// {"findings": [{"code": ..., "severity": ..., "element": TAG or null, "name": ...,
// "message": ..., "reference": ...}, ...]} on one line.
std::string FindingsJson(const std::vector<Finding>& findings);

// True when some finding about the element `tag` is a warning (the canvas marks those).
bool HasWarning(const std::vector<Finding>& findings, const std::string& tag);

} // namespace pluvane
