#include "settings/FrmInfo.h"

#include "app/AppContext.h"
#include "network/UndoCommands.h"
#include "settings/FrmSelectIvalBasin.h"
#include "settings/ProjectSettings.h"

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

QString fromStd(const std::string& text) { return QString::fromStdString(text); }
std::string toStd(const QLineEdit* field) { return field->text().toStdString(); }

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    return frame;
}

} // namespace

FrmInfo::FrmInfo(AppContext& ctx, QWidget* parent)
    : ModelessDialog(ctx, parent, "FrmInfo", "Project Setup", Prompts::Icon::Exclamation) {
    QLabel* label5 = makeLabel("Label5", "Project Name");
    m_projectName = makeTextField("TxtProjectName", label5);
    QLabel* label1 = makeLabel("Label1", "Job Number");
    m_jobNumber = makeTextField("TxtJobNumber", label1);
    QLabel* label4 = makeLabel("Label4", "Design Date");
    m_designDate = makeTextField("TxtDesignDate", label4);
    QLabel* label3 = makeLabel("Label3", "Design Engineer");
    m_designEngineer = makeTextField("TxtDesignEngineer", label3);
    QLabel* label2 = makeLabel("Label2", "Project Manager");
    m_projectManager = makeTextField("TxtProjectManager", label2);
    QLabel* label6 = makeLabel("Label6", "Basin Name");
    m_basinName = makeTextField("TxtBasinName", label6);
    QLabel* label7 = makeLabel("Label7", "Intensity Table");
    m_intensityTable = makeTextField("TxtITable", label7);
    m_tableList = makeButton("CmdIList", "?");
    m_tableList->setToolTip("Choose the rainfall intensity table from the list of locations");
    m_tableList->setFixedWidth(m_tableList->fontMetrics().horizontalAdvance("??") + 16);
    m_tableList->setAutoDefault(false);
    m_ok = makeButton("CmdOK", "OK");
    m_cancel = makeButton("CmdCancel", "Cancel");
    m_cancel->setAutoDefault(false);
    m_ok->setDefault(true);

    // Labels of all three frames share one width, so the fields line up down the window.
    const std::vector<QLabel*> labels{label5, label1, label4, label3, label2, label6, label7};
    int labelWidth = 0;
    for (QLabel* label : labels)
        labelWidth = std::max(labelWidth, label->sizeHint().width());
    for (QLabel* label : labels)
        label->setMinimumWidth(labelWidth);

    QGroupBox* projectFrame = makeFrame(this, "FraProject", "Project Information");
    auto* projectGrid = new QGridLayout(projectFrame);
    projectGrid->addWidget(label5, 0, 0);
    projectGrid->addWidget(m_projectName, 0, 1, 1, 2);
    projectGrid->addWidget(label1, 1, 0);
    projectGrid->addWidget(m_jobNumber, 1, 1, 1, 2);

    QGroupBox* designFrame = makeFrame(this, "FraDesign", "Design Information");
    auto* designGrid = new QGridLayout(designFrame);
    designGrid->addWidget(label4, 0, 0);
    designGrid->addWidget(m_designDate, 0, 1, 1, 2);
    designGrid->addWidget(label3, 1, 0);
    designGrid->addWidget(m_designEngineer, 1, 1, 1, 2);
    designGrid->addWidget(label2, 2, 0);
    designGrid->addWidget(m_projectManager, 2, 1, 1, 2);

    QGroupBox* basinFrame = makeFrame(this, "FraBasin", "Basin Information");
    auto* basinGrid = new QGridLayout(basinFrame);
    basinGrid->addWidget(label6, 0, 0);
    basinGrid->addWidget(m_basinName, 0, 1, 1, 2);
    basinGrid->addWidget(label7, 1, 0);
    basinGrid->addWidget(m_intensityTable, 1, 1);
    basinGrid->addWidget(m_tableList, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    basinGrid->addLayout(buttons, 2, 0, 1, 3);
    for (QGridLayout* grid : {projectGrid, designGrid, basinGrid})
        grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(projectFrame);
    layout->addWidget(designFrame);
    layout->addWidget(basinFrame);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_projectName, m_jobNumber);
    setTabOrder(m_jobNumber, m_designDate);
    setTabOrder(m_designDate, m_designEngineer);
    setTabOrder(m_designEngineer, m_projectManager);
    setTabOrder(m_projectManager, m_basinName);
    setTabOrder(m_basinName, m_intensityTable);
    setTabOrder(m_intensityTable, m_tableList);
    setTabOrder(m_tableList, m_ok);
    setTabOrder(m_ok, m_cancel);

    connect(m_tableList, &QPushButton::clicked, this, &FrmInfo::chooseTable);
    connect(m_ok, &QPushButton::clicked, this, &FrmInfo::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);

    load();
}

FrmInfo* FrmInfo::open(AppContext& ctx, QWidget* parent) {
    return ctx.open<FrmInfo>([&] { return new FrmInfo(ctx, parent); });
}

void FrmInfo::load() {
    m_designDate->setText(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    ProjectSetup setup;
    if (!attempt([&] { setup = LoadProjectSettings(m_ctx.workspace()); })) {
        // Unread, OK could only overwrite the stored values with empty fields.
        giveUp();
        return;
    }
    m_existingProject = setup.existingProject;
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
    if (!attempt([&] { SaveProjectSettings(m_ctx.workspace(), project, node, m_existingProject); }))
        return; // nothing was written; the user may try again or cancel
    RecordSetupEdit(m_ctx, "Edit Project Info");
    // Later OKs of this window rewrite the rows just written.
    m_existingProject = true;
    m_ctx.refreshIntensityTable();
    emit m_ctx.networkChanged(); // the node's label on the canvas shows the new name
    if (m_ctx.onOpenCanvas)
        attempt(m_ctx.onOpenCanvas);
    close();
}

} // namespace pluvane::gui
