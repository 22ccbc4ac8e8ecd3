#pragma once

#include "gui/app/AppContext.h"

class QDialog;

namespace pluvane {
enum class ElementKind;
} // namespace pluvane

namespace pluvane::gui {

// Shows the one window of type W of the open project (AppContext::open).
template <class W>
W* ShowWindow(AppContext& ctx) {
    return ctx.open<W>();
}

// The canvas's way in: the kind's add dialog (after the element-limit check) and its update
// dialog (with the canvas's SelectedElement naming the element). Null for the node, which has
// neither here.
QDialog* ShowAddDialog(AppContext& ctx, ElementKind kind);
QDialog* ShowUpdateDialog(AppContext& ctx, ElementKind kind);

} // namespace pluvane::gui
