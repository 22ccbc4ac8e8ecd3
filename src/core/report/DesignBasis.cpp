#include "core/report/DesignBasis.h"

#include "core/ReturnPeriods.h"
#include "core/report/ReportStyle.h"
#include "core/review/ReviewChecks.h"
#include "core/text/NumberText.h"
#include "core/text/Text.h"

#include <algorithm>

namespace pluvane {

namespace {

// The words for how the engine found the intensities at tcUsed, read from the same rows and
// with the same comparison the engine makes.
void describeMethod(const ProjectSolve& solve, DesignBasis& basis) {
    const std::vector<IntensityRow>& rows = solve.rainfall->rows;
    const double tcHours = basis.tcUsed / 60.0;
    std::size_t b = rows.size();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (tcHours < static_cast<double>(static_cast<float>(ParseLenient(rows[i].duration)))) {
            b = i;
            break;
        }
    std::string method;
    if (b == rows.size()) {
        basis.intensityMethodCode = "beyond-table";
        method =
            "beyond the last duration: the " + DurationLabel(rows.back().duration) + " intensities";
    } else if (b == 0) {
        basis.intensityMethodCode = "first-duration";
        method = "Tc below the first duration: the " + DurationLabel(rows.front().duration) +
                 " intensities";
    } else {
        basis.intensityMethodCode = "interpolated";
        method = "interpolated between the " + DurationLabel(rows[b - 1].duration) + " and " +
                 DurationLabel(rows[b].duration) + " rows";
    }
    basis.intensityMethod =
        basis.minimumApplied
            ? "minimum Tc of " + PlainNumberText(*basis.minimumTc) + " min applied; " + method
            : method;
}

std::string basinP2Status(const BasinInput& basin, std::optional<double> p2) {
    for (const Finding& finding : ReviewBasin(basin.tag, basin.fields, p2)) {
        if (finding.code == "TC_TYPED")
            return "typed, not computed";
        if (finding.code == "TC_STALE")
            return "does not match this P2 (computed with another rainfall?)";
    }
    return "computed with this P2";
}

std::string fixed(double value, int decimals) { return FormatFixed(value, decimals); }

} // namespace

DesignBasis DescribeDesign(const ProjectSolve& solve) {
    DesignBasis basis;
    basis.totalArea = solve.inputs.totalArea;
    basis.averageC = solve.inputs.averageC;
    basis.totalTc = solve.inputs.totalTc;
    basis.tcUsed = solve.tcUsed;
    basis.minimumTc = solve.minimumTc;
    basis.minimumApplied = solve.minimumTc && solve.inputs.totalTc < *solve.minimumTc;
    if (solve.result && solve.rainfall) {
        describeMethod(solve, basis);
        for (std::size_t k = 0; k < ReturnPeriods.size(); ++k) {
            DesignBasis::Period period;
            period.years = ReturnPeriods[k];
            period.cf = FrequencyFactor(period.years);
            period.capped = period.cf * basis.averageC > 1.0;
            period.cCf = MinOf(period.cf * basis.averageC, 1.0);
            period.i = solve.result->I[k];
            period.q = solve.result->Q[k];
            basis.periods.push_back(period);
        }
    }
    if (solve.rainfall)
        basis.p2 = TwoYearDailyRainfall(solve.rainfall->rows);
    for (const BasinInput& basin : solve.inputs.basins)
        basis.basinP2.emplace_back(basin.fields.name, basinP2Status(basin, basis.p2));
    return basis;
}

const std::vector<std::string>& DesignConventions() {
    static const std::vector<std::string> conventions{
        "Sheet flow: Tt = 0.007 (n L)^0.8 / (P2^0.5 s^0.4), TR-55 (1986) eq. 3-3",
        "Shallow concentrated flow: V = 16.1345 s^0.5 unpaved, 20.3282 s^0.5 paved, TR-55 (1986) "
        "App. F",
        "Channel flow: Manning, V = 1.486 R^(2/3) s^(1/2) / n",
        "Frequency factor Cf: 1.1 (25 yr), 1.2 (50 yr), 1.25 (100 yr), else 1.0, per HEC-22 "
        "(2009); C x Cf capped at 1",
        "Q = C Cf I A with A in acres and I in in/hr; the unit factor 1.008 is omitted",
    };
    return conventions;
}

void AppendDesignBasis(RichTextWriter& out, const ProjectSolve& solve,
                       const std::string& rainfallLine) {
    const DesignBasis basis = DescribeDesign(solve);
    // Names and sources come from the user: their line ends and tabs must not break the layout.
    const auto line = [&out](const std::string& text) {
        out.append(text);
        out.append("\r\n");
    };
    out.append("\r\n");
    ApplyReportStyle(out, ReportStyle::SectionTitle);
    out.append("Design Basis\r\n\r\n");
    ApplyReportStyle(out, ReportStyle::Body);
    out.setTabStops({3600});
    line("Total area A\t" + PlainNumberText(basis.totalArea) + " ac");
    line("Area-weighted C\t" + fixed(basis.averageC, 4));
    line("Total Tc\t" + PlainNumberText(basis.totalTc) + " min");
    line("Tc used\t" + PlainNumberText(basis.tcUsed) + " min" +
         (basis.minimumApplied ? " (the project's minimum Tc)" : ""));
    line("Minimum Tc\t" +
         (basis.minimumTc ? PlainNumberText(*basis.minimumTc) + " min" : std::string("none")));
    if (!basis.intensityMethod.empty())
        line("Intensities\t" + basis.intensityMethod);
    if (!basis.periods.empty()) {
        out.append("\r\n");
        EvenTabStops(out, 8);
        ApplyReportStyle(out, ReportStyle::Heading);
        out.append("\t1Yr\t2Yr\t5Yr\t10Yr\t25Yr\t50Yr\t100Yr\r\n");
        std::string cf = "Cf", cCf = "C x Cf";
        for (const DesignBasis::Period& period : basis.periods) {
            cf += "\t" + fixed(period.cf, 2);
            cCf += "\t" + fixed(period.cCf, 3) + (period.capped ? "*" : "");
        }
        ApplyReportStyle(out, ReportStyle::Body);
        line(cf);
        line(cCf);
        if (std::any_of(basis.periods.begin(), basis.periods.end(),
                        [](const DesignBasis::Period& p) { return p.capped; }))
            line("* C x Cf capped at 1");
        out.setTabStops({3600});
    }
    if (basis.p2) {
        line("Sheet-flow P2\t" + fixed(*basis.p2, 2) + " in (2-year 24-hour rainfall)");
        for (const auto& [name, status] : basis.basinP2)
            line("\t" + CellText(name) + ": " + status);
    }
    line(CellText(rainfallLine));
    out.append("\r\n");
    for (const std::string& convention : DesignConventions())
        line(convention);
}

} // namespace pluvane
