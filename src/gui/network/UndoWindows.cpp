#include "gui/network/UndoWindows.h"

#include "gui/app/AppContext.h"
#include "gui/elements/BasinDialogs.h"
#include "gui/elements/ChannelDialogs.h"
#include "gui/elements/SurfaceDialogs.h"
#include "gui/hydraulics/FrmOutletConveyance.h"
#include "gui/settings/FrmInfo.h"
#include "gui/settings/FrmNodeInfo.h"

namespace pluvane::gui {

namespace {

// The open update dialog of W when it shows the element `tag`, else null.
template <class W>
W* updateDialogOf(AppContext& ctx, const std::string& tag) {
    W* open = ctx.existing<W>();
    return open && !tag.empty() && open->loadedTag() == tag ? open : nullptr;
}

ElementDialog* updateDialogOf(AppContext& ctx, ElementKind kind, const std::string& tag) {
    switch (kind) {
    case ElementKind::Basin:
        return updateDialogOf<FrmBasUpdate>(ctx, tag);
    case ElementKind::Surface:
        return updateDialogOf<FrmSurfaceUpdateInfo>(ctx, tag);
    case ElementKind::Channel:
        return updateDialogOf<FrmChannelUpdateInfo>(ctx, tag);
    case ElementKind::Node:
        break;
    }
    return nullptr;
}

} // namespace

void ReloadWindowsOfRow(AppContext& ctx, const RowKey& key) {
    if (key == RowKey::conveyance()) {
        if (FrmOutletConveyance* conveyance = ctx.existing<FrmOutletConveyance>())
            conveyance->reload();
        return;
    }
    if (key == RowKey::node() || key == RowKey::project()) {
        // The setup shows both rows (the node's name and table beside the project's data).
        if (FrmInfo* setup = ctx.existing<FrmInfo>())
            setup->reload();
        if (key == RowKey::node())
            if (FrmNodeInfo* node = ctx.existing<FrmNodeInfo>())
                node->reload();
        return;
    }
    for (ElementKind kind : {ElementKind::Basin, ElementKind::Surface, ElementKind::Channel})
        if (key == RowKey::element(kind, key.tag))
            if (ElementDialog* dialog = updateDialogOf(ctx, kind, key.tag))
                dialog->reloadLoaded();
}

void CloseWindowsOfRemoved(AppContext& ctx, ElementKind kind, const std::string& tag) {
    if (ElementDialog* dialog = updateDialogOf(ctx, kind, tag))
        dialog->close();
}

} // namespace pluvane::gui
