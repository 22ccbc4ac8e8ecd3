#pragma once

#include "gui/elements/ModelessDialog.h"

class QListWidget;
class QPlainTextEdit;

namespace pluvane::gui {

// "Select Intensity Table": the locations of the rainfall database in stored order, with the
// source of the highlighted one shown below the list. What OK does with the choice is up to
// the two pickers. A picker that cannot list any location says why and does not open.
class IntensityPicker : public ModelessDialog {
    Q_OBJECT
public:
    // The selected location; "" when nothing is selected.
    QString selectedLocation() const;

protected:
    IntensityPicker(AppContext& ctx, QWidget* parent, const char* name);

    // OK with the selected location (never "": OK without a selection closes as Cancel does).
    // Returns true when the picker may close.
    virtual bool choose(const QString& location) = 0;

private:
    void showProvenance();
    void confirm();

    QListWidget* m_list;
    QPlainTextEdit* m_provenance;
};

} // namespace pluvane::gui
