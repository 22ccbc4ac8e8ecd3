#include "gui/elements/BasinDialogs.h"

#include "core/ElementKind.h"
#include "core/elements/Catalogs.h"
#include "core/elements/ElementCalculations.h"
#include "core/network/NetworkModel.h"
#include "gui/elements/ElementWindows.h"
#include "gui/elements/FrmCCo.h"
#include "gui/elements/ReviewNote.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pluvane::gui {

BasinDialog::BasinDialog(AppContext& ctx, QWidget* parent, Role role)
    : ElementDialog(ctx, parent, role, role == Role::Add ? "FrmBasInfo" : "FrmBasUpdate",
                    role == Role::Add ? "Sub Basin Information" : "Sub Basin Information Update",
                    Prompts::Icon::None) {
    m_name = makeField("TxtBasinName", false);
    m_area = makeField("TxtArea", true, kNumberWidth);
    m_slope = makeField("TxtSlope", true, kNumberWidth);
    m_landUse = makeField("TxtSoilType", false);
    m_c = makeField("TxtC", true, kNumberWidth);
    m_length = makeField("TxtLength", true, kNumberWidth);
    m_n = makeField("TxtN", true, 60);
    m_nType = makeRoughnessList("CmbN", kSheetFlowRoughness, m_n);
    m_tc = makeField("TxtTc", true, kNumberWidth);

    QPushButton* landUseButton = makeButton("CmdSoilType", "?");
    landUseButton->setFixedWidth(30);
    landUseButton->setAutoDefault(false);
    QPushButton* calculateButton = makeButton("CmdCalculate", "Calculate");
    QPushButton* okButton = makeButton("CmdOK", role == Role::Add ? "OK" : "Update");
    QPushButton* cancelButton = makeButton("CmdCancel", "Cancel");

    auto* grid = new QGridLayout;
    grid->setColumnMinimumWidth(1, 320);
    addRow(grid, 0, "Basin Name", m_name);
    addRow(grid, 1, "Area (Ac)", m_area);
    addRow(grid, 2, "Slope (feet/foot)", m_slope);
    addRow(grid, 3, "Land Use", m_landUse, landUseButton);
    addRow(grid, 4, "C", m_c);
    addRow(grid, 5, "Travel Length (ft)", m_length);
    addRow(grid, 6, "n", m_nType, m_n);
    grid->addWidget(makeSeparator(), 7, 0, 1, 3);
    addRow(grid, 8, role == Role::Add ? "Tc (min)" : "Tc", m_tc);
    followTc({m_length, m_n, m_slope}, {m_tc}, m_tc, grid, 9);
    explainUnit(m_c, "Run-off coefficient C (no unit)");
    explainUnit(m_nType, "Manning roughness n for sheet flow (no unit)");
    explainUnit(m_n, "Manning roughness n for sheet flow (no unit)");
    explainUnit(m_tc, "Time of concentration in minutes (min)");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(calculateButton);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    auto* note = new ReviewNote(this, [this] {
        return ReviewBasin(
            loadedTag(), fields(),
            ReviewRainfall(m_ctx.workspace(), m_ctx.session().CurrentIntensityTable()));
    });
    layout->addWidget(note->inReservedRoom());
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    bindKeys(calculateButton, true);
    setTabChain({m_name, m_area, m_slope, m_landUse, landUseButton, m_c, m_length, m_nType, m_n,
                 m_tc, calculateButton, okButton, cancelButton});
    m_name->setFocus();

    connect(calculateButton, &QPushButton::clicked, this, &BasinDialog::calculate);
    connect(okButton, &QPushButton::clicked, this, &BasinDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::close);
    connect(landUseButton, &QPushButton::clicked, this, [this] { ShowWindow<FrmCCo>(m_ctx); });
}

void BasinDialog::takeRunoffCoefficient(const QString& landUse, const QString& c) {
    m_landUse->setText(landUse);
    m_c->setText(c);
}

std::vector<ElementDialog::WalkStep> BasinDialog::walkOrder() const {
    return {{m_n, false},       {m_tc, true},     {m_length, false}, {m_c, false},
            {m_landUse, false}, {m_slope, false}, {m_area, false},   {m_name, false}};
}

void BasinDialog::computeTc() {
    // Area and C are no inputs of Tc, but Calculate refuses them as OK would.
    CheckBasinValues(fields());
    // The field keeps its text unless the whole calculation succeeds.
    m_tc->setText(
        ToQString(CalculateSheetFlowTc(m_ctx.workspace(), m_ctx.session().CurrentIntensityTable(),
                                       TextOf(m_n), TextOf(m_length), TextOf(m_slope))));
}

void BasinDialog::calculate() {
    calculateWalk(walkOrder(), [this] { computeTc(); });
}

void BasinDialog::confirm() {
    // The walk computes nothing when the shown Tc is the stored one: the values are checked
    // all the same, so a row read from an older file is not saved back with an area of 0.
    if (okWalk(walkOrder(), [this] { computeTc(); }) &&
        attempt([this] { CheckBasinValues(fields()); }) && save(fields()))
        close();
}

BasinFields BasinDialog::fields() const {
    BasinFields f;
    f.name = TextOf(m_name);
    f.area = TextOf(m_area);
    f.soilType = TextOf(m_landUse);
    f.c = TextOf(m_c);
    f.slope = TextOf(m_slope);
    f.travelLength = TextOf(m_length);
    f.nType = m_nType->currentText().toStdString();
    f.n = TextOf(m_n);
    f.tc = TextOf(m_tc);
    return f;
}

void BasinDialog::showFields(const BasinFields& f) {
    m_name->setText(ToQString(f.name));
    m_area->setText(ToQString(f.area));
    m_landUse->setText(ToQString(f.soilType));
    m_c->setText(ToQString(f.c));
    m_slope->setText(ToQString(f.slope));
    m_length->setText(ToQString(f.travelLength));
    m_tc->setText(ToQString(f.tc));
    showListText(m_nType, ToQString(f.nType));
    // After the list, so the stored n wins over the n of its entry.
    m_n->setText(ToQString(f.n));
}

FrmBasInfo::FrmBasInfo(AppContext& ctx, QWidget* parent) : BasinDialog(ctx, parent, Role::Add) {
    m_name->setText(QString("Basin %1").arg(proposedNumber(ElementKind::Basin)));
}

bool FrmBasInfo::save(const BasinFields& fields) {
    return placeAndInsert(ElementKind::Basin, [&](const Placement& placed) {
        InsertBasin(m_ctx.workspace(), placed.tag, placed.left, placed.top, fields);
    });
}

FrmBasUpdate::FrmBasUpdate(AppContext& ctx, QWidget* parent)
    : BasinDialog(ctx, parent, Role::Update) {
    loadSelected<BasinFields>(ElementKind::Basin, &LoadBasin,
                              [this](const BasinFields& row) { showFields(row); });
}

bool FrmBasUpdate::save(const BasinFields& fields) {
    return updateLoaded(
        [&](const std::string& tag) { return UpdateBasin(m_ctx.workspace(), tag, fields); });
}

} // namespace pluvane::gui
