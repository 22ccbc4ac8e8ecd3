#include "core/report/ConveyanceSection.h"

#include "core/hydraulics/HydraulicsMessages.h"
#include "core/report/ReportStyle.h"
#include "core/text/NumberText.h"
#include "core/text/Text.h"

#include <string>

namespace pluvane {

void AppendConveyanceSection(RichTextWriter& out, const ConveyanceFields& f,
                             const ConveyanceOutcome& outcome) {
    const std::optional<double>& q = outcome.designQ;
    const bool pipe = f.kind == kKindPipe;
    const auto line = [&](std::string_view label, const std::string& value) {
        out.append(std::string(label) + "\t: " + CellText(value) + "\r\n");
    };
    out.append("\r\n");
    ApplyReportStyle(out, ReportStyle::SectionTitle);
    out.append("Outlet Conveyance\r\n\r\n");
    out.setTabStops({3000});
    ApplyReportStyle(out, ReportStyle::Body);

    const std::string material = Trim(f.material).empty() ? "" : " (" + Trim(f.material) + ")";
    line("Conveyance", pipe                     ? "circular pipe"
                       : f.kind == kKindChannel ? "trapezoidal channel"
                                                : f.kind);
    line("Manning's n", Trim(f.n) + material);
    line("Slope (ft/ft)", Trim(f.slope));
    if (!pipe) {
        line("Bottom width (ft)", Trim(f.bottomWidth));
        line("Side slope (H:V)", Trim(f.sideSlope) + ":1");
        if (!Trim(f.availableDepth).empty())
            line("Available depth (ft)", Trim(f.availableDepth));
    }
    if (!Trim(f.length).empty())
        line("Length (ft)", Trim(f.length));
    line("Design flow (cfs)", q ? FormatFixed(*q, 2) + " (" + Trim(f.designPeriod) + "-year peak)"
                                : Trim(f.designPeriod) + "-year peak: none");

    if (!q && outcome.failure == kSolveFirst) {
        line("Results", std::string(kNoSolvedFlow));
        return;
    }
    for (const auto& [label, value] : ConveyanceResultLines(outcome))
        line(label, value);
}

void AppendOutletConveyance(RichTextWriter& out, const std::optional<ConveyanceFields>& fields,
                            const std::optional<SolveResult>& solve) {
    if (fields)
        AppendConveyanceSection(out, *fields, EvaluateForSolve(*fields, solve));
}

} // namespace pluvane
