#pragma once

#include "gui/elements/ModelessDialog.h"

class QLineEdit;

namespace pluvane::gui {

// "Basin Information": the outlet node's name and rainfall table, read from the project's first
// node row when made. Update stores the name (the table changes only through the picker "?")
// and closes; Cancel closes without writing.
class FrmNodeInfo final : public ModelessDialog {
    Q_OBJECT
public:
    explicit FrmNodeInfo(AppContext& ctx, QWidget* parent = nullptr);

    // Shows the one node window of the run, made on first use, and brings it forward.
    static FrmNodeInfo* open(AppContext& ctx, QWidget* parent = nullptr);
    // As open, but a window that is up already reads the project again first, dropping what was
    // typed into it.
    static FrmNodeInfo* reopen(AppContext& ctx, QWidget* parent = nullptr);
    // Shows the stored node row afresh (an undo or redo rewrote it), dropping what was typed.
    void reload() { load(); }

private:
    void load();
    void update();

    QLineEdit* m_nodeName;
    QLineEdit* m_intensityTable;
};

} // namespace pluvane::gui
