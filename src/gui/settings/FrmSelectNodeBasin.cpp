#include "gui/settings/FrmSelectNodeBasin.h"

#include "core/settings/ProjectSettings.h"
#include "gui/app/AppContext.h"
#include "gui/network/CanvasCommands.h"
#include "gui/network/UndoCommands.h"
#include "gui/settings/FrmNodeInfo.h"

namespace pluvane::gui {

FrmSelectNodeBasin::FrmSelectNodeBasin(AppContext& ctx, QWidget* parent)
    : IntensityPicker(ctx, parent, "FrmSelectNodeBasin") {}

FrmSelectNodeBasin* FrmSelectNodeBasin::open(AppContext& ctx, QWidget* parent) {
    return ctx.open<FrmSelectNodeBasin>([&] { return new FrmSelectNodeBasin(ctx, parent); });
}

bool FrmSelectNodeBasin::choose(const QString& location) {
    if (!attempt([&] { SetNodeIntensityTable(m_ctx.workspace(), location.toStdString()); }))
        return false;
    m_ctx.session().setCurrentIntensityTable(location.toStdString());
    m_ctx.refreshIntensityTable();
    RecordSetupEdit(m_ctx, "Change Rainfall Table");
    OfferTcRecompute(m_ctx, this);
    // The node window is read again from the project, so it shows the stored name and the new
    // table; a name typed there but not yet updated is given up.
    FrmNodeInfo::reopen(m_ctx, parentWidget());
    return true;
}

} // namespace pluvane::gui
