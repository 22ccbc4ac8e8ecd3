// The one place the window meets the report builder, kept apart so that the window and its
// tests do not depend on it.
#include "gui/report/FrmViewReport.h"

#include "core/Settings.h"
#include "core/report/ReportBuilder.h"
#include "core/store/IntensityDb.h"
#include "gui/app/AppContext.h"

#include <limits>

namespace pluvane::gui {

namespace {

// The table the solve read (the current location) and the total Tc it read it at. None when
// the table cannot be read: then the report simply has no plot.
std::optional<IdfCurvesSource> idfSourceOf(const Workspace& ws, const Report& report) {
    IdfCurvesSource source;
    source.location = QString::fromStdString(ws.CurrentIntensityTable);
    try {
        const std::vector<IntensityRow> rows = ReadLocationRows(ws, ws.CurrentIntensityTable);
        for (std::size_t r = 0; r < rows.size() && r < source.grid.size(); ++r)
            source.grid[r] = rows[r].values;
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (report.solve)
        source.tcMinutes = report.solve->tcHours * 60.0;
    return source;
}

} // namespace

QString ReportTitle(const QString& intensityTable) {
    return intensityTable.isEmpty() ? QString("Report")
                                    : QString("Report - Rainfall: %1").arg(intensityTable);
}

FrmViewReport* OpenReportWindow(AppContext& ctx) {
    const QString table = QString::fromStdString(ctx.workspace().CurrentIntensityTable);
    // A report solved with another table than the one the project records now is not this
    // project's result any more: it gives way to a fresh solve.
    if (FrmViewReport* open = ctx.existing<FrmViewReport>();
        open && open->property("pluvaneTable").toString() != table)
        open->close();
    std::optional<IdfCurvesSource> idf;
    bool built = false;
    double q100 = std::numeric_limits<double>::quiet_NaN(); // status-bar hook, see below
    FrmViewReport* window = ShowReportWindow(ctx, [&ctx, &idf, &built, &q100] {
        built = true;
        const Settings settings = Settings::load();
        const ReportOptions options{ReportRainfallSourceEnabled(settings),
                                    ReportReviewNotesEnabled(settings)};
        Report report = BuildReport(ctx.workspace(), options);
        idf = idfSourceOf(ctx.workspace(), report);
        if (report.solve)
            q100 = report.solve->Q.back();
        return std::move(report.document);
    });
    // A window brought forward as it stood keeps the plot of its own solve.
    if (window && idf)
        window->setIdfSource(std::move(*idf));
    if (window && built) {
        window->setProperty("pluvaneTable", table);
        window->setWindowTitle(ReportTitle(table));
        // Status-bar hook: the Q100 of this solve, which ProbeAndSolve hands to the session.
        window->setProperty(kSolvedQ100Property, q100);
    }
    return window;
}

} // namespace pluvane::gui
