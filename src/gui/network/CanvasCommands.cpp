#include "gui/network/CanvasCommands.h"

#include "core/elements/RecomputeTc.h"
#include "core/network/NetworkModel.h"
#include "core/store/RowSnapshot.h"
#include "gui/app/AppContext.h"
#include "gui/elements/BasinDialogs.h"
#include "gui/elements/ChannelDialogs.h"
#include "gui/elements/ElementWindows.h"
#include "gui/elements/FrmCCo.h"
#include "gui/elements/FrmTrapezArea.h"
#include "gui/elements/SurfaceDialogs.h"
#include "gui/hydraulics/FrmOutletConveyance.h"
#include "gui/network/UndoCommands.h"
#include "gui/rain/FrmIntensityTable.h"
#include "gui/report/FrmViewReport.h"
#include "gui/settings/FrmAbout.h"
#include "gui/settings/FrmInfo.h"
#include "gui/settings/FrmNodeInfo.h"
#include "gui/settings/FrmSelectIvalBasin.h"
#include "gui/settings/FrmSelectNodeBasin.h"

#include <QStringList>

namespace pluvane::gui {

namespace {} // namespace

void OpenAddDialog(AppContext& ctx, ElementKind kind) { ShowAddDialog(ctx, kind); }

namespace {

// An open update dialog that shows another element than the one now selected is closed, so
// that "Edit Data" always shows the element it was chosen on.
template <class W>
void closeIfShowingAnother(AppContext& ctx) {
    W* open = ctx.existing<W>();
    const NetworkModel* network = ctx.network();
    const auto selected = network ? network->SelectedElement : std::nullopt;
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

namespace {

// The recompute written and recorded as one step of the edit history.
void applyRecompute(AppContext& ctx, const std::vector<TcRecomputed>& plan) {
    ApplyTcRecompute(ctx.workspace(), plan);
    std::vector<RowKey> keys;
    for (const TcRecomputed& row : plan)
        if (row.changed())
            keys.push_back(RowKey::element(row.kind, row.tag));
    RecordRowsEdit(ctx, keys, "Recompute Tc");
    emit ctx.networkChanged(); // warned elements and open dialogs follow
}

QString changeLine(const TcRecomputed& row) {
    return QString("%1: %2 -> %3 min")
        .arg(QString::fromStdString(row.name), QString::fromStdString(row.oldTc),
             QString::fromStdString(row.newTc));
}

} // namespace

void RecomputeTc(AppContext& ctx) {
    const std::string table = ctx.session().CurrentIntensityTable();
    std::vector<TcRecomputed> plan;
    if (!ctx.guard(ctx.mainWindow(), [&] {
            plan = PlanTcRecompute(ctx.workspace(), table);
            applyRecompute(ctx, plan);
        }))
        return;
    QStringList lines;
    for (const TcRecomputed& row : plan)
        if (row.changed())
            lines << changeLine(row);
    ctx.prompts().message(ctx.mainWindow(), "Recompute Tc",
                          lines.isEmpty()
                              ? QString("Every computed Tc already matches its inputs and the "
                                        "rainfall table; nothing changed.")
                              : QString("%1 of %2 elements changed:\n%3")
                                    .arg(lines.size())
                                    .arg(plan.size())
                                    .arg(lines.join("\n")),
                          Prompts::Icon::Information);
}

void OfferTcRecompute(AppContext& ctx, QWidget* parent) {
    const std::string table = ctx.session().CurrentIntensityTable();
    std::vector<TcRecomputed> plan;
    if (!ctx.guard(parent, [&] { plan = PlanTcRecompute(ctx.workspace(), table); }))
        return;
    // Only the sheet flow reads the rainfall: the other kinds are the recompute command's.
    std::vector<TcRecomputed> basins;
    QStringList lines;
    for (const TcRecomputed& row : plan)
        if (row.kind == ElementKind::Basin && row.changed()) {
            basins.push_back(row);
            lines << changeLine(row);
        }
    if (basins.empty())
        return;
    const QString question =
        QString("The rainfall table is now %1. The Tc of %2 sub-basin%3 was computed with another "
                "2-year rainfall:\n%4\nRecompute %5 now? (Typed Tc values stay as typed.)")
            .arg(QString::fromStdString(table))
            .arg(basins.size())
            .arg(basins.size() == 1 ? "" : "s")
            .arg(lines.join("\n"))
            .arg(basins.size() == 1 ? "it" : "them");
    if (ctx.prompts().message(parent, "Recompute Tc", question, Prompts::Icon::Question,
                              Prompts::Buttons::YesNo) == Prompts::Answer::Yes)
        ctx.guard(parent, [&] { applyRecompute(ctx, basins); });
}

void CloseProjectWindows(AppContext& ctx) { ctx.session().closeWindows(); }

bool MayLeaveProject(AppContext& ctx) { return FrmIntensityTable::mayLeaveProject(ctx); }

} // namespace pluvane::gui
