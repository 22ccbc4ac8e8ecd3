#include "core/review/ProjectReview.h"
#include "core/text/Text.h"

#include "core/ElementKind.h"
#include "core/ReturnPeriods.h"
#include "core/rain/RainfallImport.h"
#include "core/review/ConveyanceReview.h"
#include "core/solve/SolveEngine.h"
#include "core/text/NumberText.h"

#include <algorithm>

namespace pluvane {

namespace {

// The provenance line that says the table was edited, else the whole provenance.
std::string editedLine(const std::string& provenance) {
    std::size_t start = 0;
    while (start <= provenance.size()) {
        std::size_t end = provenance.find('\n', start);
        if (end == std::string::npos)
            end = provenance.size();
        const std::string line = provenance.substr(start, end - start);
        if (ContainsIgnoreCase(line, "edited by hand"))
            return line;
        start = end + 1;
    }
    return provenance;
}

std::string periodList(const std::vector<std::int16_t>& periods) {
    std::string list;
    for (std::size_t i = 0; i < periods.size(); ++i) {
        if (i > 0)
            list += i + 1 == periods.size() ? " and " : ", ";
        list += std::to_string(periods[i]);
    }
    return list + "-year";
}

void projectTotals(std::vector<Finding>& out, const ReviewInputs& in) {
    const auto add = [&](std::string_view code, std::string message) {
        const ReviewRule& rule = ReviewRuleOf(code);
        out.push_back(Finding{std::string(code), rule.severity, std::nullopt, in.projectName,
                              std::move(message), std::string(rule.reference)});
    };
    if (in.solve.empty())
        return;
    // The totals the engine takes, as the solve formed them.
    const double area = in.solve.totalArea, c = in.solve.averageC, tc = in.solve.totalTc;

    if (area > ReviewRuleOf("AREA_LARGE").threshold)
        add("AREA_LARGE", "total area " + PlainNumberText(area) + " ac exceeds " +
                              PlainNumberText(ReviewRuleOf("AREA_LARGE").threshold) +
                              " ac; the rational method is meant for small basins");
    if (area == 0.0) // below 0 the solve refuses the project (VALUE_REFUSED), no Q is 0
        add("AREA_ZERO",
            "the elements drain no area (total " + PlainNumberText(area) + " ac): every Q is 0");

    if (area > 0.0) {
        std::vector<std::int16_t> capped;
        for (std::int16_t period : ReturnPeriods)
            if (c * FrequencyFactor(period) > ReviewRuleOf("CF_CAPPED").threshold)
                capped.push_back(period);
        if (!capped.empty())
            add("CF_CAPPED", "C x Cf exceeds 1 for the " + periodList(capped) + " period" +
                                 (capped.size() > 1 ? "s" : "") + " (average C " +
                                 FormatFixed(c, 4) + "); the product was taken as 1.0");
    }

    if (tc < ReviewRuleOf("TC_SHORT").threshold)
        add("TC_SHORT",
            "total Tc " + PlainNumberText(tc) + " min is under " +
                PlainNumberText(ReviewRuleOf("TC_SHORT").threshold) +
                " min: the 5-minute intensities are used; many agencies require a minimum Tc");
    double longest = ReviewRuleOf("TC_BEYOND_TABLE").threshold;
    if (in.rows && !in.rows->empty())
        longest = std::min(longest, ParseLenient(in.rows->back().duration));
    if (tc / 60.0 >= longest)
        add("TC_BEYOND_TABLE",
            "total Tc " + PlainNumberText(tc) + " min reaches the rainfall table's last duration " +
                PlainNumberText(longest) + " h: the intensities of that last row are used");
}

void rainfall(std::vector<Finding>& out, const ReviewInputs& in) {
    if (in.location.empty() || !in.rows)
        return;
    const auto add = [&](std::string_view code, std::string message) {
        const ReviewRule& rule = ReviewRuleOf(code);
        out.push_back(Finding{std::string(code), rule.severity, std::nullopt, in.location,
                              std::move(message), std::string(rule.reference)});
    };
    if (in.provenance.find_first_not_of(" \t\r\n") == std::string::npos)
        add("RAIN_NO_SOURCE",
            "the rainfall table records no source: its intensities cannot be cited");
    else if (ContainsIgnoreCase(in.provenance, "edited by hand"))
        add("RAIN_EDITED",
            "the rainfall table's source says it was changed: " + editedLine(in.provenance));

    IntensityGrid grid;
    for (std::size_t r = 0; r < grid.size() && r < in.rows->size(); ++r)
        grid[r] = (*in.rows)[r].values;
    for (std::string& message : CheckIntensityGrid(grid))
        add("RAIN_ORDER", std::move(message));
}

} // namespace

ReviewInputs CollectReviewInputs(const ProjectSolve& solve) {
    ReviewInputs in;
    in.projectName = solve.project.projectName;
    in.solve = solve.inputs;
    in.location = solve.location;
    if (solve.rainfall) {
        in.rows = solve.rainfall->rows;
        in.provenance = solve.rainfall->provenance;
        in.twoYearRainfall = TwoYearDailyRainfall(solve.rainfall->rows);
    }
    return in;
}

std::vector<Finding> ReviewInputsOf(const ReviewInputs& in) {
    std::vector<Finding> out;
    const auto append = [&](std::vector<Finding> more) {
        out.insert(out.end(), std::make_move_iterator(more.begin()),
                   std::make_move_iterator(more.end()));
    };
    for (const BasinInput& b : in.solve.basins)
        append(ReviewBasin(b.tag, b.fields, in.twoYearRainfall));
    for (const SurfaceInput& s : in.solve.surfaces)
        append(ReviewSurface(s.tag, s.fields));
    for (const ChannelInput& c : in.solve.channels)
        append(ReviewChannel(c.tag, c.fields));
    projectTotals(out, in);
    rainfall(out, in);
    return out;
}

std::vector<Finding> ReviewSolve(const ProjectSolve& solve) {
    // The outlet conveyance's notes come last, at the design flow the file holds.
    std::vector<Finding> findings = ReviewInputsOf(CollectReviewInputs(solve));
    if (solve.conveyance)
        for (Finding& finding : ReviewConveyanceAt(*solve.conveyance, solve.storedDesignFlow))
            findings.push_back(std::move(finding));
    return findings;
}

std::vector<Finding> ReviewProject(const Workspace& ws) {
    SolveOptions options;
    options.storeResults = false;
    return ReviewSolve(SolveProject(ws, options));
}

} // namespace pluvane
