// The one place the window meets the report builder, kept apart so that the window and its
// tests do not depend on it.
#include "report/FrmViewReport.h"

#include "Settings.h"
#include "app/AppContext.h"
#include "report/ReportBuilder.h"
#include "store/IntensityDb.h"

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

FrmViewReport* OpenReportWindow(AppContext& ctx) {
    std::optional<IdfCurvesSource> idf;
    FrmViewReport* window = ShowReportWindow(ctx, [&ctx, &idf] {
        const Settings settings = Settings::Load();
        const ReportOptions options{ReportRainfallSourceEnabled(settings), ReportReviewNotesEnabled(settings)};
        Report report = BuildReport(ctx.workspace(), options);
        idf = idfSourceOf(ctx.workspace(), report);
        return std::move(report.document);
    });
    // A window brought forward as it stood keeps the plot of its own solve.
    if (window && idf)
        window->setIdfSource(std::move(*idf));
    return window;
}

} // namespace pluvane::gui
