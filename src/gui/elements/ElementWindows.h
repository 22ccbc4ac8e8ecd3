#pragma once

#include "app/AppContext.h"

class QDialog;

namespace pluvane {
enum class ElementKind;
}

namespace pluvane::gui {

// Shows the one window of type W (made on first use with the main window as parent, again
// after it was closed) and brings it forward. An open window is brought forward as it stands.
template <class W> W* ShowWindow(AppContext& ctx) {
    W* window = ctx.window<W>([&ctx] { return new W(ctx, ctx.mainWindow()); });
    AppContext::present(window);
    return window;
}

// The canvas's way in: the kind's add dialog (after the element-limit check) and its update
// dialog (with SelectedElement naming the element). Null for the node, which has neither here.
QDialog* ShowAddDialog(AppContext& ctx, ElementKind kind);
QDialog* ShowUpdateDialog(AppContext& ctx, ElementKind kind);

} // namespace pluvane::gui
