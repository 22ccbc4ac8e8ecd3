#include "gui/elements/SurfaceDialogs.h"

#include "core/ElementKind.h"
#include "core/elements/Catalogs.h"
#include "core/elements/ElementCalculations.h"
#include "core/network/NetworkModel.h"
#include "gui/elements/ReviewNote.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pluvane::gui {

SurfaceDialog::SurfaceDialog(AppContext& ctx, QWidget* parent, Role role)
    : ElementDialog(ctx, parent, role,
                    role == Role::Add ? "FrmSurfaceAddInfo" : "FrmSurfaceUpdateInfo",
                    role == Role::Add ? "Add Surface Flow" : "Update Surface Flow",
                    Prompts::Icon::Information) {
    m_name = makeField("TxtSurfName", false);
    m_length = makeField("TxtLength", true, kNumberWidth);
    m_slope = makeField("TxtSlope", true, kNumberWidth);
    m_type = new QComboBox(this);
    m_type->setObjectName("CmbType");
    for (std::string_view type : kSurfaceTypes)
        m_type->addItem(ToQString(type));
    m_type->setCurrentIndex(0);
    m_velocity = makeResultField("TxtVelocity", kNumberWidth);
    m_tc = makeField("TxtTc", true, kNumberWidth);

    QPushButton* calculateButton = makeButton("CmdCalculate", "Calculate");
    QPushButton* okButton = makeButton("CmdOK", role == Role::Add ? "Add" : "Update");
    QPushButton* cancelButton = makeButton("CmdCancel", "Cancel");

    auto* grid = new QGridLayout;
    grid->setColumnMinimumWidth(1, 200);
    addRow(grid, 0, "Name", m_name);
    addRow(grid, 1, "Length (ft)", m_length);
    addRow(grid, 2, "Slope", m_slope);
    addRow(grid, 3, "Type", m_type);
    addRow(grid, 4, "Velocity (fps)", m_velocity);
    addRow(grid, 5, "Tc (min)", m_tc);
    explainUnit(m_slope, "Slope in feet per foot (ft/ft)");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(calculateButton);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    auto* note = new ReviewNote(this, [this] { return ReviewSurface(loadedTag(), fields()); });
    layout->addWidget(note->inReservedRoom());
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    bindKeys(nullptr, false);
    setTabChain({m_name, m_length, m_slope, m_type, m_tc, calculateButton, okButton, cancelButton});
    m_name->setFocus();

    connect(calculateButton, &QPushButton::clicked, this, &SurfaceDialog::calculate);
    connect(okButton, &QPushButton::clicked, this, &SurfaceDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::close);
}

bool SurfaceDialog::filled() const {
    return !m_name->text().isEmpty() && !m_slope->text().isEmpty() && !m_length->text().isEmpty();
}

bool SurfaceDialog::computeFlow() {
    return attempt([this] {
        const ShallowFlowTexts flow = CalculateShallowFlow(m_type->currentText().toStdString(),
                                                           TextOf(m_length), TextOf(m_slope));
        m_velocity->setText(ToQString(flow.velocity));
        m_tc->setText(ToQString(flow.tc));
    });
}

void SurfaceDialog::calculate() {
    if (!filled()) {
        showFillMessage();
        return;
    }
    if (!checkNumbers())
        return;
    computeFlow();
}

void SurfaceDialog::confirm() {
    if (!filled()) {
        showFillMessage();
        return;
    }
    // Velocity and Tc are recomputed on every save, so they always match the inputs saved.
    if (checkNumbers() && computeFlow() && save(fields()))
        close();
}

SurfaceFields SurfaceDialog::fields() const {
    SurfaceFields f;
    f.name = TextOf(m_name);
    f.slope = TextOf(m_slope);
    f.length = TextOf(m_length);
    f.velocity = TextOf(m_velocity);
    f.type = m_type->currentText().toStdString();
    f.tc = TextOf(m_tc);
    return f;
}

void SurfaceDialog::showFields(const SurfaceFields& f) {
    m_name->setText(ToQString(f.name));
    m_length->setText(ToQString(f.length));
    m_slope->setText(ToQString(f.slope));
    // The list takes no typed text: an unknown stored type shows as no choice.
    m_type->setCurrentIndex(
        m_type->findText(ToQString(f.type), Qt::MatchExactly | Qt::MatchCaseSensitive));
    m_velocity->setText(ToQString(f.velocity));
    m_tc->setText(ToQString(f.tc));
}

FrmSurfaceAddInfo::FrmSurfaceAddInfo(AppContext& ctx, QWidget* parent)
    : SurfaceDialog(ctx, parent, Role::Add) {
    m_name->setText(QString("Surface %1").arg(proposedNumber(ElementKind::Surface)));
}

bool FrmSurfaceAddInfo::save(const SurfaceFields& fields) {
    return placeAndInsert(ElementKind::Surface, [&](const Placement& placed) {
        InsertSurface(m_ctx.workspace(), placed.tag, placed.left, placed.top, fields);
    });
}

FrmSurfaceUpdateInfo::FrmSurfaceUpdateInfo(AppContext& ctx, QWidget* parent)
    : SurfaceDialog(ctx, parent, Role::Update) {
    loadSelected<SurfaceFields>(ElementKind::Surface, &LoadSurface,
                                [this](const SurfaceFields& row) { showFields(row); });
}

bool FrmSurfaceUpdateInfo::save(const SurfaceFields& fields) {
    return updateLoaded(
        [&](const std::string& tag) { return UpdateSurface(m_ctx.workspace(), tag, fields); });
}

} // namespace pluvane::gui
