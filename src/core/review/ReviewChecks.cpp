#include "core/review/ReviewChecks.h"
#include "core/text/Text.h"

#include "core/Error.h"
#include "core/elements/Catalogs.h"
#include "core/elements/Formulas.h"
#include "core/elements/RecomputeTc.h"
#include "core/review/ReviewMessages.h"
#include "core/text/Json.h"
#include "core/text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace pluvane {

namespace {

bool filled(std::string_view text) { return !Trim(text).empty(); }

// A stored text as the message shows it: as typed, without surrounding blanks.
std::string shown(std::string_view text) { return Trim(text); }

std::string fixed4(double value) { return FormatFixed(value, 4); }

// Collects the findings of one element (or of the project) in rule order.
class Findings {
public:
    Findings(std::optional<std::string> element, std::string name)
        : m_element(std::move(element)), m_name(std::move(name)) {}

    void add(std::string_view code, std::string message) {
        const ReviewRule& rule = ReviewRuleOf(code);
        m_out.push_back(Finding{std::string(rule.code), rule.severity, m_element, m_name,
                                std::move(message), std::string(rule.reference)});
    }
    std::vector<Finding> take() { return std::move(m_out); }

private:
    std::optional<std::string> m_element;
    std::string m_name;
    std::vector<Finding> m_out;
};

double threshold(std::string_view code) { return ReviewRuleOf(code).threshold; }

// The three sheet-flow length checks. The two fixed limits are one fact told once: beyond
// 300 ft only SHEET_LENGTH_300 is said.
void sheetFlowLength(Findings& out, const BasinFields& f) {
    if (!filled(f.travelLength))
        return;
    const double length = ParseLenient(f.travelLength);
    const double upper = threshold("SHEET_LENGTH_300");
    const double lower = threshold("SHEET_LENGTH_100");
    if (length > upper)
        out.add("SHEET_LENGTH_300", "sheet-flow length " + shown(f.travelLength) + " ft exceeds " +
                                        PlainNumberText(upper) +
                                        " ft; beyond it the flow is concentrated");
    else if (length > lower)
        out.add("SHEET_LENGTH_100", "sheet-flow length " + shown(f.travelLength) + " ft exceeds " +
                                        PlainNumberText(lower) + " ft");

    if (!filled(f.slope) || !filled(f.n))
        return;
    const double slope = ParseLenient(f.slope);
    const double n = ParseLenient(f.n);
    if (slope <= 0.0 || n <= 0.0)
        return;
    const double criterion = threshold("SHEET_MCCUEN_SPIESS");
    const double limit = criterion * std::sqrt(slope) / n;
    if (length > limit)
        out.add("SHEET_MCCUEN_SPIESS",
                "sheet-flow length " + shown(f.travelLength) +
                    " ft exceeds the kinematic-wave limit " + PlainNumberText(criterion) +
                    " sqrt(S) / n = " + FormatFixed(limit, 1) +
                    " ft; n L / sqrt(S) = " + FormatFixed(n * length / std::sqrt(slope), 1));
}

// SLOPE_PERCENT and SLOPE_FLAT for one slope text.
void slope(Findings& out, std::string_view what, const std::string& text) {
    if (!filled(text))
        return;
    const double value = ParseLenient(text);
    if (value > threshold("SLOPE_PERCENT"))
        out.add("SLOPE_PERCENT", std::string(what) + " " + shown(text) + " ft/ft is above " +
                                     PlainNumberText(threshold("SLOPE_PERCENT")) +
                                     " ft/ft: likely typed in percent");
    else if (value < threshold("SLOPE_FLAT"))
        out.add("SLOPE_FLAT", std::string(what) + " " + shown(text) + " ft/ft is below " +
                                  PlainNumberText(threshold("SLOPE_FLAT")) +
                                  " ft/ft: the velocity laws are unreliable on flat ground");
}

// N_CUSTOM: the n beside a roughness list holds its entry's n unless it was typed.
void roughness(Findings& out, std::string_view what, const std::string& description,
               const std::string& n, std::span<const RoughnessEntry> entries) {
    if (!filled(n))
        return;
    const auto entry = std::find_if(entries.begin(), entries.end(), [&](const RoughnessEntry& e) {
        return e.description == description;
    });
    if (entry == entries.end())
        out.add("N_CUSTOM", "n " + shown(n) + " was typed: the " + std::string(what) + " \"" +
                                description + "\" is not in the list");
    else if (ParseLenient(n) != ParseLenient(entry->n))
        out.add("N_CUSTOM", "n " + shown(n) + " differs from " + std::string(entry->n) + " of \"" +
                                description + "\"");
}

// A value the element's Calculate writes ("#0.0000"), with what its stored inputs give now
// (nullopt when they give none: an input missing or outside what Calculate accepts).
struct ComputedValue {
    std::string_view label; // "Tc", "velocity"
    std::string_view unit;
    const std::string& text;
    std::optional<double> recomputed;
    std::string with = ""; // what else the recomputation used, e.g. " with P2 = 3.84 in"
};

// Beyond the relative tolerance, and beyond the four decimals' own rounding.
bool differs(double stored, double recomputed) {
    const double tolerance = std::max(threshold("TC_STALE") * std::fabs(recomputed), 1e-4);
    return !(std::fabs(stored - recomputed) <= tolerance);
}

// TC_TYPED and TC_STALE, of which at most one is said per element. Nothing records whether a
// value was typed, so the text decides: a value Calculate cannot have written (another form
// than four decimals, or a nonzero value whose inputs give none) was typed, and a typed value
// cannot be stale. A value in Calculate's form that its inputs no longer give is stale.
void computedValues(Findings& out, std::span<const ComputedValue> values) {
    std::string typed;
    std::string stale;
    const auto join = [](std::string& list, const std::string& part) {
        list += (list.empty() ? "" : "; ") + part;
    };
    for (const ComputedValue& v : values) {
        if (!filled(v.text))
            continue;
        const double stored = ParseLenient(v.text);
        const std::string value =
            std::string(v.label) + " " + shown(v.text) + " " + std::string(v.unit);
        const std::string gives =
            v.recomputed ? fixed4(*v.recomputed) + " " + std::string(v.unit) : "none";
        if (!IsCalculatedText(v.text) || (!v.recomputed && stored != 0.0))
            join(typed, value + " (its inputs give " + gives + v.with + ")");
        else if (v.recomputed && differs(stored, *v.recomputed))
            join(stale, value + " differs from " + gives + " that its inputs give" + v.with);
    }
    if (!typed.empty())
        out.add("TC_TYPED", typed + " was typed, not computed");
    else if (!stale.empty())
        out.add("TC_STALE", stale);
}

std::optional<double> finite(double value) {
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

// VALUE_REFUSED: an area or a Tc the solve refuses (RefuseUnphysicalInputs).
void refused(Findings& out, std::string_view what, std::string_view unit, const std::string& text) {
    if (!filled(text))
        return;
    const double value = ParseLenient(text);
    if (std::isfinite(value) && value >= 0.0)
        return;
    out.add("VALUE_REFUSED",
            std::string(what) + " " + shown(text) + " " + std::string(unit) +
                (std::isfinite(value) ? " is below 0" : " is not a finite number") +
                ": the solve refuses it");
}

bool allFilled(std::initializer_list<std::string_view> texts) {
    return std::all_of(texts.begin(), texts.end(), filled);
}

} // namespace

std::string_view SeverityText(Severity severity) {
    return severity == Severity::Warning ? "warning" : "note";
}

const ReviewRule& ReviewRuleOf(std::string_view code) {
    for (const ReviewRule& rule : kReviewRules)
        if (rule.code == code)
            return rule;
    throw Error(NoReviewCheckMessage(code));
}

std::vector<Finding> ReviewBasin(const std::string& tag, const BasinFields& f,
                                 std::optional<double> twoYearRainfall) {
    Findings out(tag, f.name);
    sheetFlowLength(out, f);
    slope(out, "slope", f.slope);
    if (filled(f.c)) {
        const double c = ParseLenient(f.c);
        if (!(c > 0.0 && c <= threshold("C_RANGE")))
            out.add("C_RANGE",
                    "run-off coefficient " + shown(f.c) +
                        " is outside 0 < C <= " + PlainNumberText(threshold("C_RANGE")) +
                        (c == 0.0 ? "" : ": the solve refuses it")); // 0 solves, to Q = 0
    }
    refused(out, "area", "ac", f.area);
    refused(out, "Tc", "min", f.tc);
    roughness(out, "surface", f.nType, f.n, kSheetFlowRoughness);

    std::optional<double> tc;
    const double n = ParseLenient(f.n), length = ParseLenient(f.travelLength),
                 s = ParseLenient(f.slope);
    if (twoYearRainfall && *twoYearRainfall > 0.0 && allFilled({f.n, f.travelLength, f.slope}) &&
        n >= 0.0 && length >= 0.0 && s > 0.0)
        tc = finite(SheetFlowTc(n, length, s, *twoYearRainfall));
    // Without the rainfall the Tc cannot be judged either way.
    if (twoYearRainfall) {
        // The rainfall is named: a Tc computed on another table goes stale when the table changes.
        const ComputedValue values[] = {
            {"Tc", "min", f.tc, tc, " with P2 = " + FormatFixed(*twoYearRainfall, 2) + " in"}};
        computedValues(out, values);
    } else if (filled(f.tc) && !IsCalculatedText(f.tc)) {
        const ComputedValue values[] = {{"Tc", "min", f.tc, std::nullopt}};
        computedValues(out, values);
    }
    return out.take();
}

std::vector<Finding> ReviewSurface(const std::string& tag, const SurfaceFields& f) {
    Findings out(tag, f.name);
    slope(out, "slope", f.slope);
    refused(out, "Tc", "min", f.tc);
    std::optional<double> velocity, tc;
    const double length = ParseLenient(f.length), s = ParseLenient(f.slope);
    const bool known = f.type == kUnpaved || f.type == kPaved;
    if (known && filled(f.slope) && s > 0.0) {
        const ShallowFlow flow = ShallowFlowVelocity(f.type, length, s);
        velocity = finite(flow.velocity);
        if (filled(f.length) && length >= 0.0)
            tc = finite(flow.travelHours * 60.0);
    }
    const ComputedValue values[] = {{"velocity", "ft/s", f.velocity, velocity},
                                    {"Tc", "min", f.tc, tc}};
    computedValues(out, values);
    return out.take();
}

std::vector<Finding> ReviewChannel(const std::string& tag, const ChannelFields& f) {
    Findings out(tag, f.name);
    slope(out, "slope", f.slope);
    roughness(out, "material", f.material, f.n, kChannelMaterials);
    refused(out, "Tc", "min", f.tc);
    std::optional<double> velocity, tc;
    const double area = ParseLenient(f.area), wp = ParseLenient(f.wettedPerimeter),
                 s = ParseLenient(f.slope), n = ParseLenient(f.n), length = ParseLenient(f.length);
    if (allFilled({f.area, f.wettedPerimeter, f.slope, f.n}) && area > 0.0 && wp > 0.0 && s > 0.0 &&
        n > 0.0) {
        // The two dialogs' orders differ in the last bits only, far inside the tolerance.
        velocity = finite(ManningVelocity(area, wp, s, n, ManningOrder::AddDialog));
        if (velocity && filled(f.length) && length >= 0.0)
            tc = finite(length / (*velocity * 60.0));
    }
    const ComputedValue values[] = {{"velocity", "ft/s", f.velocity, velocity},
                                    {"Tc", "min", f.tc, tc}};
    computedValues(out, values);
    return out.take();
}

std::string FindingLine(const Finding& finding) {
    std::string line(SeverityText(finding.severity));
    if (finding.element)
        line += " " + *finding.element;
    if (!finding.name.empty())
        line += " \"" + finding.name + "\"";
    line += ": " + finding.message;
    if (!finding.reference.empty())
        line += " (" + finding.reference + ")";
    return line;
}

std::string FindingsJson(const std::vector<Finding>& findings) {
    std::string json = "{\"findings\": [";
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const Finding& f = findings[i];
        json += (i ? ", " : "");
        json += "{\"code\": " + JsonString(f.code) +
                ", \"severity\": " + JsonString(SeverityText(f.severity)) +
                ", \"element\": " + (f.element ? JsonString(*f.element) : std::string("null")) +
                ", \"name\": " + JsonString(f.name) + ", \"message\": " + JsonString(f.message) +
                ", \"reference\": " + JsonString(f.reference) + "}";
    }
    json += "]}";
    return json;
}

bool HasWarning(const std::vector<Finding>& findings, const std::string& tag) {
    return std::any_of(findings.begin(), findings.end(), [&](const Finding& f) {
        return f.severity == Severity::Warning && f.element && *f.element == tag;
    });
}

} // namespace pluvane
