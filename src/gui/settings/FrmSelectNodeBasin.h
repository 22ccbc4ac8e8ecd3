#pragma once

#include "gui/settings/IntensityPicker.h"

namespace pluvane::gui {

// The node's rainfall table picker, opened from the node window. OK stores the chosen location
// in the node row at once (making the row when the project has none), makes it current and
// shows the node window again, read afresh from the project.
class FrmSelectNodeBasin final : public IntensityPicker {
    Q_OBJECT
public:
    explicit FrmSelectNodeBasin(AppContext& ctx, QWidget* parent = nullptr);

    // Shows the one node picker of the run and brings it forward.
    static FrmSelectNodeBasin* open(AppContext& ctx, QWidget* parent);

private:
    bool choose(const QString& location) override;
};

} // namespace pluvane::gui
