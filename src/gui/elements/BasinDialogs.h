#pragma once

#include "core/elements/ElementRecords.h"
#include "gui/elements/ElementDialog.h"

class QComboBox;

namespace pluvane::gui {

// An overland-flow sub-basin: name, area, land use and C, and the sheet flow whose Tc (minutes)
// comes from the kinematic-wave equation with the 2-year 24-hour rainfall of the current
// rainfall table. The add and the update dialog differ only in captions, loading and saving.
class BasinDialog : public ElementDialog {
    Q_OBJECT
public:
    // Land use and C chosen in the run-off coefficient table, taken as they are.
    void takeRunoffCoefficient(const QString& landUse, const QString& c);

protected:
    BasinDialog(AppContext& ctx, QWidget* parent, Role role);

    BasinFields fields() const;
    void showFields(const BasinFields& fields);
    // Writes the checked fields; true when the row was written and the dialog may close.
    virtual bool save(const BasinFields& fields) = 0;

    QLineEdit* m_name;

private:
    std::vector<WalkStep> walkOrder() const;
    void computeTc();
    void calculate();
    void confirm();

    QLineEdit* m_area;
    QLineEdit* m_slope;
    QLineEdit* m_landUse;
    QLineEdit* m_c;
    QLineEdit* m_length;
    QLineEdit* m_n;
    QComboBox* m_nType;
    QLineEdit* m_tc;
};

// "Sub Basin Information": adds a sub-basin to the canvas and the project.
class FrmBasInfo final : public BasinDialog {
    Q_OBJECT
public:
    explicit FrmBasInfo(AppContext& ctx, QWidget* parent = nullptr);

private:
    bool save(const BasinFields& fields) override;
};

// "Sub Basin Information Update": edits the sub-basin selected on the canvas. With no row for
// the selected tag it opens empty, and its save then says that nothing was saved.
class FrmBasUpdate final : public BasinDialog {
    Q_OBJECT
public:
    explicit FrmBasUpdate(AppContext& ctx, QWidget* parent = nullptr);

private:
    bool save(const BasinFields& fields) override;
};

} // namespace pluvane::gui
