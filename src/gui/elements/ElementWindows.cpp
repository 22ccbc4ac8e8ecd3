#include "gui/elements/ElementWindows.h"

#include "core/ElementKind.h"
#include "gui/elements/BasinDialogs.h"
#include "gui/elements/ChannelDialogs.h"
#include "gui/elements/SurfaceDialogs.h"

#include <QPushButton>

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

namespace {

QDialog* showUpdateDialog(AppContext& ctx, ElementKind kind) {
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

} // namespace

QDialog* ShowUpdateDialog(AppContext& ctx, ElementKind kind) {
    QDialog* dialog = showUpdateDialog(ctx, kind);
    // A project that cannot be written still shows its elements' values; only saving is greyed.
    if (QPushButton* save = dialog ? dialog->findChild<QPushButton*>("CmdOK") : nullptr;
        save && ctx.session().readOnly()) {
        save->setEnabled(false);
        save->setToolTip(ctx.session().readOnlyReason());
    }
    return dialog;
}

} // namespace pluvane::gui
