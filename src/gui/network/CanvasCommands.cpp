#include "gui/network/CanvasCommands.h"

#include "gui/app/AppContext.h"
#include "gui/elements/BasinDialogs.h"
#include "gui/elements/ChannelDialogs.h"
#include "gui/elements/ElementWindows.h"
#include "gui/elements/FrmCCo.h"
#include "gui/elements/FrmTrapezArea.h"
#include "gui/elements/SurfaceDialogs.h"
#include "gui/hydraulics/FrmOutletConveyance.h"
#include "gui/rain/FrmIntensityTable.h"
#include "gui/report/FrmViewReport.h"
#include "gui/settings/FrmAbout.h"
#include "gui/settings/FrmInfo.h"
#include "gui/settings/FrmNodeInfo.h"
#include "gui/settings/FrmSelectIvalBasin.h"
#include "gui/settings/FrmSelectNodeBasin.h"

namespace pluvane::gui {

namespace {} // namespace

void OpenAddDialog(AppContext& ctx, ElementKind kind) { ShowAddDialog(ctx, kind); }

namespace {

// An open update dialog that shows another element than the one now selected is closed, so
// that "Edit Data" always shows the element it was chosen on.
template <class W>
void closeIfShowingAnother(AppContext& ctx) {
    W* open = ctx.existing<W>();
    const auto& selected = ctx.workspace().SelectedElement;
    if (open && (!selected || open->loadedTag() != selected->tag))
        open->close();
}

} // namespace

void OpenUpdateDialog(AppContext& ctx, ElementKind kind) {
    switch (kind) {
    case ElementKind::Basin:
        closeIfShowingAnother<FrmBasUpdate>(ctx);
        break;
    case ElementKind::Surface:
        closeIfShowingAnother<FrmSurfaceUpdateInfo>(ctx);
        break;
    case ElementKind::Channel:
        closeIfShowingAnother<FrmChannelUpdateInfo>(ctx);
        break;
    case ElementKind::Node:
        return;
    }
    ShowUpdateDialog(ctx, kind);
}

void OpenProjectSetup(AppContext& ctx) { FrmInfo::open(ctx, ctx.mainWindow()); }

void OpenNodeSettings(AppContext& ctx) { FrmNodeInfo::open(ctx, ctx.mainWindow()); }

void OpenOutletConveyance(AppContext& ctx) { FrmOutletConveyance::open(ctx, ctx.mainWindow()); }

void OpenTablePicker(AppContext& ctx) { FrmSelectIvalBasin::open(ctx, ctx.mainWindow()); }

void OpenIntensityEditor(AppContext& ctx) {
    if (ctx.onShowIntensityEditor)
        ctx.onShowIntensityEditor();
    else
        ctx.prompts().message(ctx.mainWindow(), "Information",
                              "The rainfall intensity table editor is not available yet.",
                              Prompts::Icon::Information);
}

void OpenAbout(AppContext& ctx) { FrmAbout::open(ctx, ctx.mainWindow()); }

bool ProbeAndSolve(AppContext& ctx) {
    // The table the file records is the one solved with, whatever a window did before.
    ctx.refreshIntensityTable();
    bool nothing = false;
    OpenReportWindow(ctx, &nothing);
    return !nothing;
}

void CloseProjectWindows(AppContext& ctx) { ctx.session().closeWindows(); }

bool MayLeaveProject(AppContext& ctx) { return FrmIntensityTable::mayLeaveProject(ctx); }

} // namespace pluvane::gui
