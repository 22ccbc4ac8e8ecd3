#pragma once

#include "core/elements/ElementRecords.h"
#include "gui/elements/ElementDialog.h"

class QComboBox;

namespace pluvane::gui {

// A shallow concentrated flow segment over an unpaved or paved path. Velocity and Tc are always
// computed from slope, length and type, also on Add/Update (a typed Tc is replaced). The add
// and the update dialog differ only in captions, loading and saving.
class SurfaceDialog : public ElementDialog {
    Q_OBJECT
protected:
    SurfaceDialog(AppContext& ctx, QWidget* parent, Role role);

    SurfaceFields fields() const;
    void showFields(const SurfaceFields& fields);
    virtual bool save(const SurfaceFields& fields) = 0;

    QLineEdit* m_name;

private:
    // Name, slope and length are typed; velocity and Tc are computed.
    bool filled() const;
    bool computeFlow();
    void calculate();
    void confirm();

    QLineEdit* m_length;
    QLineEdit* m_slope;
    QComboBox* m_type;
    QLineEdit* m_velocity;
    QLineEdit* m_tc;
};

// "Add Surface Flow": adds a segment to the canvas and the project.
class FrmSurfaceAddInfo final : public SurfaceDialog {
    Q_OBJECT
public:
    explicit FrmSurfaceAddInfo(AppContext& ctx, QWidget* parent = nullptr);

private:
    bool save(const SurfaceFields& fields) override;
};

// "Update Surface Flow": edits the segment selected on the canvas. A stored type other than
// "Unpaved" and "Paved" shows no type, so the user must choose one before saving. With no row
// for the selected tag it opens empty, and its save then says that nothing was saved.
class FrmSurfaceUpdateInfo final : public SurfaceDialog {
    Q_OBJECT
public:
    explicit FrmSurfaceUpdateInfo(AppContext& ctx, QWidget* parent = nullptr);

private:
    bool save(const SurfaceFields& fields) override;
};

} // namespace pluvane::gui
