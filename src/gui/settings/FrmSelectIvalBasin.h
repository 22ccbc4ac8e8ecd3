#pragma once

#include "gui/settings/IntensityPicker.h"

namespace pluvane::gui {

// The project's rainfall table picker, opened from the setup window (tag "FrmInfo"), from the
// canvas's "Change Table" and from the intensity table editor (empty tag). OK records the chosen
// location as the project's table at once (IValueBasinName and the node row's IntensityTable)
// and makes it current; then, for the
// setup window, fills its table field and clears the tag, else brings the intensity table
// editor up again (AppContext::onShowIntensityEditor).
class FrmSelectIvalBasin final : public IntensityPicker {
    Q_OBJECT
public:
    explicit FrmSelectIvalBasin(AppContext& ctx, QWidget* parent = nullptr);

    // Shows the one picker of the run with the opener's tag and brings it forward.
    static FrmSelectIvalBasin* open(AppContext& ctx, QWidget* parent, const QString& tag = {});

    const QString& tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

private:
    bool choose(const QString& location) override;

    QString m_tag;
};

} // namespace pluvane::gui
