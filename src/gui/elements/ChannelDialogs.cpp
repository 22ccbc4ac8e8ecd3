#include "gui/elements/ChannelDialogs.h"

#include "core/ElementKind.h"
#include "core/elements/Catalogs.h"
#include "core/elements/ElementCalculations.h"
#include "core/network/NetworkModel.h"
#include "gui/elements/ElementWindows.h"
#include "gui/elements/FrmTrapezArea.h"
#include "gui/elements/ReviewNote.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pluvane::gui {

ChannelDialog::ChannelDialog(AppContext& ctx, QWidget* parent, Role role)
    : ElementDialog(ctx, parent, role,
                    role == Role::Add ? "FrmChannelAddInfo" : "FrmChannelUpdateInfo",
                    role == Role::Add ? "Channel Information" : "Channel Update Information",
                    Prompts::Icon::None) {
    m_name = makeField("TxtChannelName", false);
    m_area = makeField("TxtArea", true, kNumberWidth);
    m_wettedPerimeter = makeField("TxtWP", true, kNumberWidth);
    m_slope = makeField("TxtSlope", true, kNumberWidth);
    m_n = makeField("TxtN", true, 60);
    m_material = makeRoughnessList("CmbN", kChannelMaterials, m_n);
    m_length = makeField("TxtLength", true, kNumberWidth);
    m_velocity = makeResultField("TxtVelocity", kNumberWidth);
    m_tc = makeField("TxtTc", true, kNumberWidth);

    QPushButton* areaButton = makeButton("CmdArea", "?");
    areaButton->setFixedWidth(30);
    areaButton->setAutoDefault(false);
    QPushButton* calculateButton = makeButton("CmdCalculate", "Calculate");
    QPushButton* okButton = makeButton("CmdOK", "OK");
    QPushButton* cancelButton = makeButton("CmdCancel", "Cancel");

    auto* grid = new QGridLayout;
    grid->setColumnMinimumWidth(1, 200);
    addRow(grid, 0, "Channel Name", m_name);
    addRow(grid, 1, "Section Area (sf)", fieldWithButton(m_area, areaButton));
    addRow(grid, 2, "Wetted Perimeter", m_wettedPerimeter);
    addRow(grid, 3, "Slope (feet/foot)", m_slope);
    addRow(grid, 4, "n", m_material, m_n);
    addRow(grid, 5, "Travel Length (ft)", m_length);
    grid->addWidget(makeSeparator(), 6, 0, 1, 3);
    addRow(grid, 7, "Velocity (fps)", m_velocity);
    addRow(grid, 8, "Tc (min)", m_tc);
    explainUnit(m_wettedPerimeter, "Wetted perimeter in feet (ft)");
    explainUnit(m_material, "Manning roughness n of the channel (no unit)");
    explainUnit(m_n, "Manning roughness n of the channel (no unit)");
    followTc({m_area, m_wettedPerimeter, m_slope, m_n, m_length}, {m_velocity, m_tc}, m_tc, grid,
             9);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(calculateButton);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    auto* note = new ReviewNote(this, [this] { return ReviewChannel(loadedTag(), fields()); });
    layout->addWidget(note->inReservedRoom());
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    bindKeys(calculateButton, true);
    setTabChain({m_name, m_area, areaButton, m_wettedPerimeter, m_slope, m_material, m_n, m_length,
                 m_tc, calculateButton, okButton, cancelButton});
    m_name->setFocus();

    connect(calculateButton, &QPushButton::clicked, this, &ChannelDialog::calculate);
    connect(okButton, &QPushButton::clicked, this, &ChannelDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::close);
    connect(areaButton, &QPushButton::clicked, this, [this] { ShowWindow<FrmTrapezArea>(m_ctx); });
}

void ChannelDialog::takeSection(const QString& area, const QString& wettedPerimeter) {
    m_area->setText(area);
    m_wettedPerimeter->setText(wettedPerimeter);
}

std::vector<ElementDialog::WalkStep> ChannelDialog::walkOrder() const {
    if (role() == Role::Add)
        return {{m_velocity, true},         {m_tc, true},     {m_length, false}, {m_n, false},
                {m_wettedPerimeter, false}, {m_slope, false}, {m_area, false},   {m_name, false}};
    return {{m_velocity, true},         {m_n, false},     {m_tc, true},    {m_length, false},
            {m_wettedPerimeter, false}, {m_slope, false}, {m_area, false}, {m_name, false}};
}

void ChannelDialog::computeFlow() {
    const ChannelFlowTexts flow = CalculateChannelFlow(
        TextOf(m_area), TextOf(m_wettedPerimeter), TextOf(m_slope), TextOf(m_n), TextOf(m_length),
        role() == Role::Add ? ManningOrder::AddDialog : ManningOrder::UpdateDialog);
    m_velocity->setText(ToQString(flow.velocity));
    m_tc->setText(ToQString(flow.tc));
}

void ChannelDialog::calculate() {
    calculateWalk(walkOrder(), [this] { computeFlow(); });
}

void ChannelDialog::confirm() {
    // The walk computes nothing when the shown Tc is the stored one: the values are checked
    // all the same, so a row read from an older file is not saved back with an n of 0.
    if (okWalk(walkOrder(), [this] { computeFlow(); }) &&
        attempt([this] { CheckChannelValues(fields()); }) && save(fields()))
        close();
}

ChannelFields ChannelDialog::fields() const {
    ChannelFields f;
    f.name = TextOf(m_name);
    f.area = TextOf(m_area);
    f.wettedPerimeter = TextOf(m_wettedPerimeter);
    f.slope = TextOf(m_slope);
    f.length = TextOf(m_length);
    f.material = m_material->currentText().toStdString();
    f.n = TextOf(m_n);
    f.velocity = TextOf(m_velocity);
    f.tc = TextOf(m_tc);
    return f;
}

void ChannelDialog::showFields(const ChannelFields& f) {
    m_name->setText(ToQString(f.name));
    m_area->setText(ToQString(f.area));
    m_wettedPerimeter->setText(ToQString(f.wettedPerimeter));
    m_slope->setText(ToQString(f.slope));
    m_length->setText(ToQString(f.length));
    m_tc->setText(ToQString(f.tc));
    m_velocity->setText(ToQString(f.velocity));
    showListText(m_material, ToQString(f.material));
    // After the list, so the stored n wins over the n of its entry.
    m_n->setText(ToQString(f.n));
}

FrmChannelAddInfo::FrmChannelAddInfo(AppContext& ctx, QWidget* parent)
    : ChannelDialog(ctx, parent, Role::Add) {
    m_name->setText(QString("Channel %1").arg(proposedNumber(ElementKind::Channel)));
}

bool FrmChannelAddInfo::save(const ChannelFields& fields) {
    return placeAndInsert(ElementKind::Channel, [&](const Placement& placed) {
        InsertChannel(m_ctx.workspace(), placed.tag, placed.left, placed.top, fields);
    });
}

FrmChannelUpdateInfo::FrmChannelUpdateInfo(AppContext& ctx, QWidget* parent)
    : ChannelDialog(ctx, parent, Role::Update) {
    loadSelected<ChannelFields>(ElementKind::Channel, &LoadChannel,
                                [this](const ChannelFields& row) { showFields(row); });
}

bool FrmChannelUpdateInfo::save(const ChannelFields& fields) {
    return updateLoaded(
        [&](const std::string& tag) { return UpdateChannel(m_ctx.workspace(), tag, fields); });
}

} // namespace pluvane::gui
