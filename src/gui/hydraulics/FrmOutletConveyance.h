#pragma once

#include "core/hydraulics/OutletConveyance.h"
#include "gui/elements/ModelessDialog.h"

#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QWidget;

namespace pluvane::gui {

// "Outlet Conveyance": the pipe or trapezoidal channel that carries the design flow away from
// the outlet node, with its results shown live for the last solve's peak flow of the design
// return period (or a flow typed in to try). OK stores the conveyance (undoable), Remove takes
// it out of the project, Cancel closes without writing.
class FrmOutletConveyance final : public ModelessDialog {
    Q_OBJECT
public:
    explicit FrmOutletConveyance(AppContext& ctx, QWidget* parent = nullptr);

    // Shows the one conveyance window of the project, made on first use.
    static FrmOutletConveyance* open(AppContext& ctx, QWidget* parent = nullptr);
    // Shows the stored row afresh (an undo or redo rewrote it), dropping what was typed.
    void reload() { load(); }

    // The fields as the window shows them.
    ConveyanceFields fields() const;

protected:
    // Coming back to the window after a Solve shows the new flow, unless one was typed over it.
    void changeEvent(QEvent* event) override;

private:
    void build();
    void load();
    void showFields(const ConveyanceFields& fields);
    void kindChanged();
    void periodChanged();
    void refresh();
    void save();
    void remove();

    bool m_loading = false;
    QString m_storedQ; // the flow text last read from the solve
    QRadioButton* m_pipe;
    QRadioButton* m_channel;
    QComboBox* m_material;
    QLineEdit* m_n;
    QLineEdit* m_slope;
    QCheckBox* m_sizeIt;
    QLineEdit* m_diameter;
    QLineEdit* m_bottom;
    QLineEdit* m_side;
    QLineEdit* m_depth;
    QComboBox* m_period;
    QLineEdit* m_length;
    QLineEdit* m_q;
    QLabel* m_qSource;
    QLabel* m_results;
    QLabel* m_notes;
    std::vector<QWidget*> m_pipeRows;    // shown for a pipe only
    std::vector<QWidget*> m_channelRows; // shown for a channel only
    QPushButton* m_remove;
};

} // namespace pluvane::gui
