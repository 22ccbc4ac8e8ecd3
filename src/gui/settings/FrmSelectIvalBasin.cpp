#include "gui/settings/FrmSelectIvalBasin.h"

#include "core/settings/ProjectSettings.h"
#include "gui/app/AppContext.h"
#include "gui/network/CanvasCommands.h"
#include "gui/network/UndoCommands.h"
#include "gui/settings/FrmInfo.h"

namespace pluvane::gui {

namespace {

const QString kSetupTag = "FrmInfo";

} // namespace

FrmSelectIvalBasin::FrmSelectIvalBasin(AppContext& ctx, QWidget* parent)
    : IntensityPicker(ctx, parent, "FrmSelectIvalBasin") {}

FrmSelectIvalBasin* FrmSelectIvalBasin::open(AppContext& ctx, QWidget* parent, const QString& tag) {
    auto* picker =
        ctx.open<FrmSelectIvalBasin>([&] { return new FrmSelectIvalBasin(ctx, parent); });
    picker->setTag(tag);
    return picker;
}

bool FrmSelectIvalBasin::choose(const QString& location) {
    // Recorded in the file first (node and project rows): when it cannot be written, nothing
    // else changes either, and the table the solve uses stays the one the file names.
    if (!attempt([&] { SetProjectIntensityTable(m_ctx.workspace(), location.toStdString()); }))
        return false;
    // Current even before the project has its node row to record it.
    m_ctx.session().setCurrentIntensityTable(location.toStdString());
    m_ctx.refreshIntensityTable();
    RecordSetupEdit(m_ctx, "Change Rainfall Table");
    OfferTcRecompute(m_ctx, this);
    if (m_tag == kSetupTag) {
        if (FrmInfo* setup = m_ctx.existing<FrmInfo>())
            setup->setIntensityTable(location);
        m_tag.clear();
        return true;
    }
    // The editor shows the current table, so it is shown again to pick up the new one.
    if (m_ctx.onShowIntensityEditor)
        attempt(m_ctx.onShowIntensityEditor);
    else
        m_ctx.prompts().message(this, "Information",
                                "The rainfall intensity table editor is not available yet.",
                                Prompts::Icon::Information, Prompts::Buttons::Ok);
    return true;
}

} // namespace pluvane::gui
