#pragma once

#include "gui/elements/ModelessDialog.h"

namespace pluvane::gui {

// "About": the product name, its version and what the program does. OK closes.
class FrmAbout final : public ModelessDialog {
    Q_OBJECT
public:
    explicit FrmAbout(AppContext& ctx, QWidget* parent = nullptr);

    // Shows the one about box of the run and brings it forward.
    static FrmAbout* open(AppContext& ctx, QWidget* parent = nullptr);
};

} // namespace pluvane::gui
