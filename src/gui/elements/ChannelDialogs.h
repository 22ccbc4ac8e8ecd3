#pragma once

#include "core/elements/ElementRecords.h"
#include "gui/elements/ElementDialog.h"

class QComboBox;

namespace pluvane::gui {

// A channel-flow segment: section area and wetted perimeter (typed or from the trapezoid
// calculator), slope, lining and length give the Manning velocity and Tc. Velocity and Tc are
// computed when empty; shown values are saved as they are. The add and the update dialog differ
// in captions, loading, saving, and (as they always have) in their field walk and in the order
// in which Manning's equation is evaluated.
class ChannelDialog : public ElementDialog {
    Q_OBJECT
public:
    // Area and wetted perimeter handed over by the trapezoid calculator, taken as they are.
    void takeSection(const QString& area, const QString& wettedPerimeter);

protected:
    ChannelDialog(AppContext& ctx, QWidget* parent, Role role);

    ChannelFields fields() const;
    void showFields(const ChannelFields& fields);
    virtual bool save(const ChannelFields& fields) = 0;

    QLineEdit* m_name;

private:
    std::vector<WalkStep> walkOrder() const;
    void computeFlow();
    void calculate();
    void confirm();

    QLineEdit* m_area;
    QLineEdit* m_wettedPerimeter;
    QLineEdit* m_slope;
    QLineEdit* m_n;
    QComboBox* m_material;
    QLineEdit* m_length;
    QLineEdit* m_velocity;
    QLineEdit* m_tc;
};

// "Channel Information": adds a segment to the canvas and the project.
class FrmChannelAddInfo final : public ChannelDialog {
    Q_OBJECT
public:
    explicit FrmChannelAddInfo(AppContext& ctx, QWidget* parent = nullptr);

private:
    bool save(const ChannelFields& fields) override;
};

// "Channel Update Information": edits the segment selected on the canvas. With no row for the
// selected tag it opens empty, and its save then says that nothing was saved.
class FrmChannelUpdateInfo final : public ChannelDialog {
    Q_OBJECT
public:
    explicit FrmChannelUpdateInfo(AppContext& ctx, QWidget* parent = nullptr);

private:
    bool save(const ChannelFields& fields) override;
};

} // namespace pluvane::gui
