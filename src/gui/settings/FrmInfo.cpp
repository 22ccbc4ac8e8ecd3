#include "gui/settings/FrmInfo.h"

#include "core/settings/DesignSettings.h"

#include "core/settings/ProjectSettings.h"
#include "gui/app/AppContext.h"
#include "gui/network/CanvasCommands.h"
#include "gui/network/UndoCommands.h"
#include "gui/settings/FrmSelectIvalBasin.h"

#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace pluvane::gui {

namespace {

// The frames' grids: labels, fields, and the rainfall table's list button beside its field.
constexpr int kLabelColumn = 0;
constexpr int kFieldColumn = 1;  // takes the spare width
constexpr int kButtonColumn = 2; // a full-width field spans it too
constexpr int kColumns = 3;
constexpr int kListButtonMargin = 16; // around the "?" of the list button, in pixels

QString fromStd(const std::string& text) { return QString::fromStdString(text); }
std::string toStd(const QLineEdit* field) { return field->text().toStdString(); }

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    return frame;
}

QGridLayout* makeFrameGrid(QGroupBox* frame) {
    auto* grid = new QGridLayout(frame);
    grid->setColumnStretch(kFieldColumn, 1);
    return grid;
}

// A label and its field across the field and button columns.
void addFieldRow(QGridLayout* grid, int row, QLabel* label, QWidget* field) {
    grid->addWidget(label, row, kLabelColumn);
    grid->addWidget(field, row, kFieldColumn, 1, kColumns - kFieldColumn);
}

} // namespace

FrmInfo::FrmInfo(AppContext& ctx, QWidget* parent)
    : ModelessDialog(ctx, parent, "FrmInfo", "Project Setup", Prompts::Icon::Exclamation) {
    const Labels labels = makeFields();
    makeButtons();
    alignLabels(labels);
    QGroupBox* projectFrame = makeProjectFrame(labels);
    QGroupBox* designFrame = makeDesignFrame(labels);
    QGroupBox* basinFrame = makeBasinFrame(labels);
    stackFrames({projectFrame, designFrame, basinFrame});
    setTabChain({m_projectName, m_jobNumber, m_designDate, m_designEngineer, m_projectManager,
                 m_minimumTc, m_basinName, m_intensityTable, m_tableList, m_ok, m_cancel});
    connectButtons();
    load();
}

FrmInfo::Labels FrmInfo::makeFields() {
    Labels labels{};
    labels.projectName = makeLabel("Label5", "Project Name");
    m_projectName = makeTextField("TxtProjectName", labels.projectName);
    labels.jobNumber = makeLabel("Label1", "Job Number");
    m_jobNumber = makeTextField("TxtJobNumber", labels.jobNumber);
    labels.designDate = makeLabel("Label4", "Design Date");
    m_designDate = makeTextField("TxtDesignDate", labels.designDate);
    labels.designEngineer = makeLabel("Label3", "Design Engineer");
    m_designEngineer = makeTextField("TxtDesignEngineer", labels.designEngineer);
    labels.projectManager = makeLabel("Label2", "Project Manager");
    m_projectManager = makeTextField("TxtProjectManager", labels.projectManager);
    labels.minimumTc = makeLabel("LblMinimumTc", "Minimum Tc (min)");
    m_minimumTc = new QComboBox(this);
    m_minimumTc->setObjectName("CboMinimumTc");
    m_minimumTc->setEditable(true);
    m_minimumTc->lineEdit()->setObjectName("TxtMinimumTc");
    m_minimumTc->addItem("none");
    for (double minutes : kOfferedMinimumTc)
        m_minimumTc->addItem(QString::fromStdString(MinimumTcText(minutes)));
    m_minimumTc->setToolTip("Many agencies require a minimum Tc: a shorter total Tc is solved "
                            "at it, and the report says so. Any value in minutes, or none.");
    labels.minimumTc->setBuddy(m_minimumTc);
    labels.basinName = makeLabel("Label6", "Basin Name");
    m_basinName = makeTextField("TxtBasinName", labels.basinName);
    labels.intensityTable = makeLabel("Label7", "Intensity Table");
    m_intensityTable = makeTextField("TxtITable", labels.intensityTable);
    return labels;
}

void FrmInfo::makeButtons() {
    m_tableList = makeButton("CmdIList", "?");
    m_tableList->setToolTip("Choose the rainfall intensity table from the list of locations");
    m_tableList->setFixedWidth(m_tableList->fontMetrics().horizontalAdvance("??") +
                               kListButtonMargin);
    m_tableList->setAutoDefault(false);
    m_ok = makeButton("CmdOK", "OK");
    m_cancel = makeButton("CmdCancel", "Cancel");
    m_cancel->setAutoDefault(false);
    m_ok->setDefault(true);
}

void FrmInfo::alignLabels(const Labels& labels) {
    // Labels of all three frames share one width, so the fields line up down the window.
    const std::vector<QLabel*> all{labels.projectName,    labels.jobNumber,      labels.designDate,
                                   labels.designEngineer, labels.projectManager, labels.basinName,
                                   labels.intensityTable, labels.minimumTc};
    int labelWidth = 0;
    for (QLabel* label : all)
        labelWidth = std::max(labelWidth, label->sizeHint().width());
    for (QLabel* label : all)
        label->setMinimumWidth(labelWidth);
}

QGroupBox* FrmInfo::makeProjectFrame(const Labels& labels) {
    QGroupBox* frame = makeFrame(this, "FraProject", "Project Information");
    QGridLayout* grid = makeFrameGrid(frame);
    addFieldRow(grid, 0, labels.projectName, m_projectName);
    addFieldRow(grid, 1, labels.jobNumber, m_jobNumber);
    return frame;
}

QGroupBox* FrmInfo::makeDesignFrame(const Labels& labels) {
    QGroupBox* frame = makeFrame(this, "FraDesign", "Design Information");
    QGridLayout* grid = makeFrameGrid(frame);
    addFieldRow(grid, 0, labels.designDate, m_designDate);
    addFieldRow(grid, 1, labels.designEngineer, m_designEngineer);
    addFieldRow(grid, 2, labels.projectManager, m_projectManager);
    addFieldRow(grid, 3, labels.minimumTc, m_minimumTc);
    return frame;
}

// The basin frame also holds the window's OK and Cancel, under its fields.
QGroupBox* FrmInfo::makeBasinFrame(const Labels& labels) {
    QGroupBox* frame = makeFrame(this, "FraBasin", "Basin Information");
    QGridLayout* grid = makeFrameGrid(frame);
    addFieldRow(grid, 0, labels.basinName, m_basinName);
    grid->addWidget(labels.intensityTable, 1, kLabelColumn);
    grid->addWidget(m_intensityTable, 1, kFieldColumn);
    grid->addWidget(m_tableList, 1, kButtonColumn);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    grid->addLayout(buttons, 2, kLabelColumn, 1, kColumns);
    return frame;
}

void FrmInfo::stackFrames(std::initializer_list<QGroupBox*> frames) {
    auto* layout = new QVBoxLayout(this);
    for (QGroupBox* frame : frames)
        layout->addWidget(frame);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmInfo::connectButtons() {
    connect(m_tableList, &QPushButton::clicked, this, &FrmInfo::chooseTable);
    connect(m_ok, &QPushButton::clicked, this, &FrmInfo::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
}

FrmInfo* FrmInfo::open(AppContext& ctx, QWidget* parent) {
    return ctx.open<FrmInfo>([&] { return new FrmInfo(ctx, parent); });
}

void FrmInfo::load() {
    m_designDate->setText(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    ProjectSetup setup;
    std::optional<double> minimumTc;
    if (!attempt([&] {
            setup = LoadProjectSettings(m_ctx.workspace());
            minimumTc = LoadMinimumTc(m_ctx.workspace());
        })) {
        // Unread, OK could only overwrite the stored values with empty fields.
        giveUp();
        return;
    }
    m_existingProject = setup.existingProject;
    m_minimumTc->setCurrentText(QString::fromStdString(MinimumTcText(minimumTc)));
    // The table current from now on is the one the file records (the first node row's, which
    // the canvas and the solve read), whichever row this window shows.
    m_ctx.refreshIntensityTable();
    if (!setup.existingProject)
        return;
    m_projectName->setText(fromStd(setup.project.projectName));
    m_jobNumber->setText(fromStd(setup.project.jobNumber));
    m_designEngineer->setText(fromStd(setup.project.designEngineer));
    m_projectManager->setText(fromStd(setup.project.projectManager));
    m_designDate->setText(fromStd(setup.project.designDate));
    if (setup.node) {
        m_basinName->setText(fromStd(setup.node->nodeName));
        m_intensityTable->setText(fromStd(setup.node->intensityTable));
    }
}

void FrmInfo::setIntensityTable(const QString& name) { m_intensityTable->setText(name); }

void FrmInfo::chooseTable() { FrmSelectIvalBasin::open(m_ctx, parentWidget(), "FrmInfo"); }

void FrmInfo::confirm() {
    const NodeFields node{toStd(m_basinName), toStd(m_intensityTable)};
    if (!IsComplete(node)) {
        m_ctx.prompts().message(
            this, "Error",
            QString::fromUtf8(kFillBasinInformation.data(), kFillBasinInformation.size()),
            Prompts::Icon::Information, Prompts::Buttons::Ok);
        return;
    }
    const ProjectFields project{toStd(m_projectName), toStd(m_jobNumber), toStd(m_designEngineer),
                                toStd(m_projectManager), toStd(m_designDate)};
    // The minimum is read first: a value it refuses leaves the file as it was.
    std::optional<double> minimumTc;
    if (!attempt([&] { minimumTc = ParseMinimumTc(m_minimumTc->currentText().toStdString()); }))
        return;
    if (!attempt([&] {
            SaveProjectSettings(m_ctx.workspace(), project, node, m_existingProject);
            SaveMinimumTc(m_ctx.workspace(), minimumTc);
        }))
        return; // the user may try again or cancel
    RecordSetupEdit(m_ctx, "Edit Project Info");
    // Later OKs of this window rewrite the rows just written.
    m_existingProject = true;
    const std::string before = m_ctx.session().CurrentIntensityTable();
    m_ctx.refreshIntensityTable();
    if (m_ctx.session().CurrentIntensityTable() != before)
        OfferTcRecompute(m_ctx, this);
    emit m_ctx.networkChanged(); // the node's label on the canvas shows the new name
    if (m_ctx.onOpenCanvas)
        attempt(m_ctx.onOpenCanvas);
    close();
}

} // namespace pluvane::gui
