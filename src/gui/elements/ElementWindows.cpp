#include "gui/elements/ElementWindows.h"

#include "core/ElementKind.h"
#include "gui/elements/BasinDialogs.h"
#include "gui/elements/ChannelDialogs.h"
#include "gui/elements/SurfaceDialogs.h"

namespace pluvane::gui {

QDialog* ShowAddDialog(AppContext& ctx, ElementKind kind) {
    switch (kind) {
    case ElementKind::Basin:
        return ShowWindow<FrmBasInfo>(ctx);
    case ElementKind::Surface:
        return ShowWindow<FrmSurfaceAddInfo>(ctx);
    case ElementKind::Channel:
        return ShowWindow<FrmChannelAddInfo>(ctx);
    case ElementKind::Node:
        break;
    }
    return nullptr;
}

QDialog* ShowUpdateDialog(AppContext& ctx, ElementKind kind) {
    switch (kind) {
    case ElementKind::Basin:
        return ShowWindow<FrmBasUpdate>(ctx);
    case ElementKind::Surface:
        return ShowWindow<FrmSurfaceUpdateInfo>(ctx);
    case ElementKind::Channel:
        return ShowWindow<FrmChannelUpdateInfo>(ctx);
    case ElementKind::Node:
        break;
    }
    return nullptr;
}

} // namespace pluvane::gui
