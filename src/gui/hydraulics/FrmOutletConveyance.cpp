#include "gui/hydraulics/FrmOutletConveyance.h"

#include "core/ReturnPeriods.h"
#include "core/elements/Catalogs.h"
#include "core/hydraulics/HydraulicsMessages.h"
#include "core/review/ConveyanceReview.h"
#include "core/text/NumberText.h"
#include "gui/network/UndoCommands.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pluvane::gui {

namespace {

QString html(const std::string& text) { return ToQString(text).toHtmlEscaped(); }

} // namespace

FrmOutletConveyance::FrmOutletConveyance(AppContext& ctx, QWidget* parent)
    : ModelessDialog(ctx, parent, "FrmOutletConveyance", "Outlet Conveyance",
                     Prompts::Icon::Exclamation) {
    build();
    load();
}

FrmOutletConveyance* FrmOutletConveyance::open(AppContext& ctx, QWidget* parent) {
    return ctx.open<FrmOutletConveyance>([&] { return new FrmOutletConveyance(ctx, parent); });
}

void FrmOutletConveyance::build() {
    m_pipe = new QRadioButton("Circular pipe", this);
    m_pipe->setObjectName("OptPipe");
    m_channel = new QRadioButton("Trapezoidal channel", this);
    m_channel->setObjectName("OptChannel");
    auto* kinds = new QButtonGroup(this);
    kinds->addButton(m_pipe);
    kinds->addButton(m_channel);

    m_n = makeField("TxtN", true, kNumberWidth);
    m_material = new QComboBox(this);
    m_material->setObjectName("CmbMaterial");
    for (const RoughnessEntry& entry : kConveyanceMaterials)
        m_material->addItem(ToQString(entry.description));
    m_slope = makeField("TxtSlope", true, kNumberWidth);
    m_sizeIt = new QCheckBox("Size it: the smallest standard diameter", this);
    m_sizeIt->setObjectName("ChkSizeIt");
    m_diameter = makeField("TxtDiameter", true, kNumberWidth);
    m_bottom = makeField("TxtBottom", true, kNumberWidth);
    m_side = makeField("TxtSide", true, kNumberWidth);
    m_depth = makeField("TxtDepth", true, kNumberWidth);
    m_period = new QComboBox(this);
    m_period->setObjectName("CmbPeriod");
    m_period->setFixedWidth(kNumberWidth);
    for (std::int16_t period : ReturnPeriods)
        m_period->addItem(QString::number(period));
    m_length = makeField("TxtLength", true, kNumberWidth);
    m_q = makeField("TxtQ", true, kNumberWidth);
    m_qSource = makeLabel("LblQSource", "");
    m_results = makeLabel("LblResults", "");
    m_results->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_results->setMinimumWidth(360);
    m_notes = makeLabel("LblReviewNote", "");
    m_notes->setWordWrap(true);
    m_notes->setStyleSheet("color: #8a5a00;");

    // One grid, so that every field lines up; the rows of the other kind are hidden.
    auto* form = new QGridLayout;
    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(m_pipe);
    kindRow->addWidget(m_channel);
    kindRow->addStretch();
    form->addLayout(kindRow, 0, 0, 1, 3);
    addRow(form, 1, "Lining", m_material);
    addRow(form, 2, "Manning's n", m_n);
    addRow(form, 3, "Slope (ft/ft)", m_slope);
    form->addWidget(m_sizeIt, 4, 0, 1, 3);
    addRow(form, 5, "Diameter (in)", m_diameter);
    addRow(form, 6, "Bottom width (ft)", m_bottom);
    addRow(form, 7, "Side slope (H:V)", m_side);
    addRow(form, 8, "Available depth (ft)", m_depth);
    addRow(form, 9, "Design return period (yr)", m_period);
    addRow(form, 10, "Length (ft, optional)", m_length);
    addRow(form, 11, "Design flow Q (cfs)", m_q, m_qSource);
    const auto rowWidgets = [form](int row) {
        return std::vector<QWidget*>{form->itemAtPosition(row, 0)->widget(),
                                     form->itemAtPosition(row, 1)->widget()};
    };
    m_pipeRows = rowWidgets(5);
    m_pipeRows.push_back(m_sizeIt);
    for (int row : {6, 7, 8})
        for (QWidget* widget : rowWidgets(row))
            m_channelRows.push_back(widget);

    auto* okButton = makeButton("CmdOK", "OK");
    m_remove = makeButton("CmdRemove", "Remove");
    m_remove->setToolTip("Take the outlet conveyance out of the project");
    auto* cancel = makeButton("CmdCancel", "Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_remove);
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(makeSeparator());
    layout->addWidget(m_results);
    layout->addWidget(m_notes);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    bindKeys(okButton, true);
    setTabChain({m_pipe, m_channel, m_material, m_n, m_slope, m_sizeIt, m_diameter, m_bottom,
                 m_side, m_depth, m_period, m_length, m_q, okButton, cancel, m_remove});

    connect(m_material, &QComboBox::activated, this, [this](int index) {
        m_n->setText(ToQString(kConveyanceMaterials[static_cast<std::size_t>(index)].n));
    });
    connect(m_pipe, &QRadioButton::toggled, this, &FrmOutletConveyance::kindChanged);
    connect(m_sizeIt, &QCheckBox::toggled, this, &FrmOutletConveyance::kindChanged);
    connect(m_period, &QComboBox::currentIndexChanged, this, &FrmOutletConveyance::periodChanged);
    for (QLineEdit* field : findChildren<QLineEdit*>())
        connect(field, &QLineEdit::textChanged, this, &FrmOutletConveyance::refresh);
    connect(m_material, &QComboBox::currentIndexChanged, this, &FrmOutletConveyance::refresh);
    connect(okButton, &QPushButton::clicked, this, &FrmOutletConveyance::save);
    connect(m_remove, &QPushButton::clicked, this, &FrmOutletConveyance::remove);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
}

ConveyanceFields FrmOutletConveyance::fields() const {
    ConveyanceFields f;
    f.kind = std::string(m_channel->isChecked() ? kKindChannel : kKindPipe);
    f.material = m_material->currentText().toStdString();
    f.n = TextOf(m_n);
    f.slope = TextOf(m_slope);
    f.sizeIt = m_sizeIt->isChecked();
    f.diameter = TextOf(m_diameter);
    f.bottomWidth = TextOf(m_bottom);
    f.sideSlope = TextOf(m_side);
    f.availableDepth = TextOf(m_depth);
    f.designPeriod = m_period->currentText().toStdString();
    f.length = TextOf(m_length);
    return f;
}

void FrmOutletConveyance::load() {
    std::optional<ConveyanceFields> stored;
    if (!attempt([&] { stored = LoadOutletConveyance(m_ctx.workspace()); })) {
        giveUp();
        return;
    }
    m_remove->setEnabled(stored.has_value());
    if (stored) {
        showFields(*stored);
        return;
    }
    // A new conveyance: a concrete pipe sized for the 10-year flow.
    ConveyanceFields fresh;
    fresh.material = std::string(kConveyanceMaterials[0].description);
    fresh.n = std::string(kConveyanceMaterials[0].n);
    showFields(fresh);
}

void FrmOutletConveyance::showFields(const ConveyanceFields& f) {
    m_loading = true;
    (f.kind == kKindChannel ? m_channel : m_pipe)->setChecked(true);
    const int material = m_material->findText(ToQString(f.material), Qt::MatchExactly);
    m_material->setCurrentIndex(material);
    m_n->setText(ToQString(f.n));
    m_slope->setText(ToQString(f.slope));
    m_sizeIt->setChecked(f.sizeIt);
    m_diameter->setText(ToQString(f.diameter));
    m_bottom->setText(ToQString(f.bottomWidth));
    m_side->setText(ToQString(f.sideSlope));
    m_depth->setText(ToQString(f.availableDepth));
    const int period = m_period->findText(ToQString(f.designPeriod), Qt::MatchExactly);
    m_period->setCurrentIndex(period >= 0 ? period
                                          : m_period->findText(ToQString(kDefaultDesignPeriod)));
    m_length->setText(ToQString(f.length));
    m_loading = false;
    kindChanged();
    periodChanged();
}

void FrmOutletConveyance::kindChanged() {
    const bool pipe = m_pipe->isChecked();
    for (QWidget* widget : m_pipeRows)
        widget->setVisible(pipe);
    for (QWidget* widget : m_channelRows)
        widget->setVisible(!pipe);
    m_diameter->setEnabled(!m_sizeIt->isChecked());
    refresh();
}

void FrmOutletConveyance::periodChanged() {
    if (m_loading)
        return;
    // The last solve's peak flow of the period; a flow typed over it is only tried, not kept.
    std::optional<double> stored;
    attempt([&] {
        stored = StoredDesignFlow(m_ctx.workspace(),
                                  static_cast<std::int16_t>(m_period->currentText().toInt()));
    });
    m_storedQ = stored ? ToQString(FormatFixed(*stored, 2)) : QString();
    m_q->setText(m_storedQ);
    m_qSource->setText(stored ? "from the last solve" : ToQString(kSolveFirst));
    m_qSource->setWordWrap(true);
}

void FrmOutletConveyance::changeEvent(QEvent* event) {
    ModelessDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !gaveUp() &&
        m_q->text() == m_storedQ)
        periodChanged();
}

void FrmOutletConveyance::refresh() {
    if (m_loading)
        return;
    const ConveyanceFields f = fields();
    const std::string q = TextOf(m_q);
    const std::optional<double> flow =
        q.empty() ? std::nullopt : std::optional<double>(ParseLenient(q));
    const ConveyanceOutcome outcome = EvaluateConveyance(f, flow);
    QString text = "<table>";
    for (const auto& [label, value] : ConveyanceResultLines(outcome))
        text +=
            "<tr><td><b>" + html(label) + "</b>&nbsp;&nbsp;</td><td>" + html(value) + "</td></tr>";
    m_results->setText(text + "</table>");
    QStringList notes;
    for (const Finding& finding : ReviewConveyance(f, outcome))
        notes << QString(finding.severity == Severity::Warning ? "Warning: " : "Note: ") +
                     html(finding.message) + " (" + html(finding.reference) + ")";
    m_notes->setText(notes.join("<br>"));
    m_notes->setVisible(!notes.isEmpty());
}

void FrmOutletConveyance::save() {
    if (!checkNumbers())
        return;
    const ConveyanceFields f = fields();
    if (attempt([&] { SaveOutletConveyance(m_ctx.workspace(), f); })) {
        RecordConveyanceEdit(m_ctx, "Edit Outlet Conveyance");
        close();
    }
}

void FrmOutletConveyance::remove() {
    if (attempt([&] { RemoveOutletConveyance(m_ctx.workspace()); })) {
        RecordConveyanceEdit(m_ctx, "Remove Outlet Conveyance");
        close();
    }
}

} // namespace pluvane::gui
