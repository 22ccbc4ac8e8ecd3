// The one place the window meets the report builder, kept apart so that the window and its
// tests do not depend on it.
#include "report/FrmViewReport.h"

#include "app/AppContext.h"
#include "report/ReportBuilder.h"

namespace pluvane::gui {

FrmViewReport* OpenReportWindow(AppContext& ctx) {
    return ShowReportWindow(ctx, [&ctx] { return BuildReport(ctx.workspace()).document; });
}

} // namespace pluvane::gui
