// The one place the window meets the solve and the report builder, kept apart so that the
// window and its tests do not depend on them.
#include "gui/report/FrmViewReport.h"

#include "core/Error.h"
#include "core/Settings.h"
#include "core/Workspace.h"
#include "core/report/ReportBuilder.h"
#include "core/report/RtfWriter.h"
#include "gui/app/AppContext.h"

#include <limits>

namespace pluvane::gui {

namespace {

// The table the solve read and the total Tc it read it at. None when the table could not be
// read: then the report simply has no plot.
std::optional<IdfCurvesSource> idfSourceOf(const ProjectSolve& solve) {
    if (!solve.rainfall)
        return std::nullopt;
    IdfCurvesSource source;
    source.location = QString::fromStdString(solve.location);
    const std::vector<IntensityRow>& rows = solve.rainfall->rows;
    for (std::size_t r = 0; r < rows.size() && r < source.grid.size(); ++r)
        source.grid[r] = rows[r].values;
    if (solve.result)
        source.tcMinutes = solve.result->tcHours * 60.0;
    return source;
}

ReportOptions reportOptions() {
    const Settings settings = Settings::load();
    return ReportOptions{ReportRainfallSourceEnabled(settings), ReportReviewNotesEnabled(settings),
                         ReportDesignBasisEnabled(settings)};
}

// The report's text as a solve of the project now would write it, without storing anything:
// the same text means the report still shows the project as it is.
std::string currentText(const Workspace& ws, ReportOptions options) {
    SolveOptions check;
    check.storeResults = false;
    options.layOut = false;
    return WritePlainText(RenderReport(SolveProject(ws, check), options));
}

} // namespace

QString ReportTitle(const QString& intensityTable) {
    return intensityTable.isEmpty() ? QString("Report")
                                    : QString("Report - Rainfall: %1").arg(intensityTable);
}

FrmViewReport* OpenReportWindow(AppContext& ctx, bool* nothing) {
    const Workspace& ws = ctx.workspace();
    ProjectSolve solve;
    RichDocument document;
    const ReportOptions options = reportOptions();
    if (!BuildOrTell(ctx, [&] {
            solve = SolveProject(ws);
            if (!solve.nothingToSolve)
                document = RenderReport(solve, options);
        }))
        return nullptr;
    if (nothing)
        *nothing = solve.nothingToSolve;
    if (solve.nothingToSolve)
        return nullptr;
    // The status bar's last solve: NaN when the solve was refused.
    ctx.session().reportSolved(solve.result ? solve.result->Q.back()
                                            : std::numeric_limits<double>::quiet_NaN());

    FrmViewReport* window = ctx.existing<FrmViewReport>();
    if (window) {
        AppContext::present(window);
        if (!window->replaceReport(document))
            return window;
    } else {
        window = ShowReportWindow(ctx, [&document] { return document; });
        if (!window)
            return nullptr;
    }
    window->setResults(DescribeOutcome(ws.ProjectPath, solve, options.reviewNotes),
                       options.reviewNotes);
    if (std::optional<IdfCurvesSource> idf = idfSourceOf(solve))
        window->setIdfSource(std::move(*idf));
    window->setWindowTitle(ReportTitle(QString::fromStdString(solve.location)));
    ReportOptions plain = options;
    plain.layOut = false;
    const std::string shown = WritePlainText(RenderReport(solve, plain));
    const Workspace watched = ws;
    window->watchCurrency(
        {QString::fromStdString(ws.ProjectPath), QString::fromStdString(ws.intensityDbPath())},
        [watched, options, shown] { return currentText(watched, options) == shown; });
    return window;
}

} // namespace pluvane::gui
