#include "gui/settings/FrmNodeInfo.h"

#include "core/settings/ProjectSettings.h"
#include "gui/app/AppContext.h"
#include "gui/network/UndoCommands.h"
#include "gui/settings/FrmSelectNodeBasin.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace pluvane::gui {

FrmNodeInfo::FrmNodeInfo(AppContext& ctx, QWidget* parent)
    : ModelessDialog(ctx, parent, "FrmNodeInfo", "Basin Information", Prompts::Icon::Exclamation) {
    QLabel* label1 = makeLabel("Label1", "Basin Name");
    m_nodeName = makeTextField("TxtNodeName", label1);
    QLabel* label2 = makeLabel("Label2", "Inensity Table");
    m_intensityTable = makeTextField("TxtIntensityTable", label2);
    QPushButton* tableList = makeButton("CmdTableList", "?");
    tableList->setToolTip("Choose the node's rainfall intensity table from the list of locations");
    tableList->setFixedWidth(tableList->fontMetrics().horizontalAdvance("??") + 16);
    tableList->setAutoDefault(false);
    QPushButton* updateButton = makeButton("CmdUpdate", "Update");
    QPushButton* cancel = makeButton("CmdCancel", "Cancel");
    updateButton->setDefault(true);
    cancel->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label1, 0, 0);
    grid->addWidget(m_nodeName, 0, 1, 1, 2);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(m_intensityTable, 1, 1);
    grid->addWidget(tableList, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(updateButton);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 2, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_nodeName, m_intensityTable);
    setTabOrder(m_intensityTable, tableList);
    setTabOrder(tableList, updateButton);
    setTabOrder(updateButton, cancel);

    connect(tableList, &QPushButton::clicked, this,
            [this] { FrmSelectNodeBasin::open(m_ctx, parentWidget()); });
    connect(updateButton, &QPushButton::clicked, this, &FrmNodeInfo::update);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);

    load();
}

FrmNodeInfo* FrmNodeInfo::open(AppContext& ctx, QWidget* parent) {
    return ctx.open<FrmNodeInfo>([&] { return new FrmNodeInfo(ctx, parent); });
}

FrmNodeInfo* FrmNodeInfo::reopen(AppContext& ctx, QWidget* parent) {
    if (FrmNodeInfo* window = ctx.existing<FrmNodeInfo>(); window && !window->gaveUp()) {
        window->load();
        AppContext::present(window);
        return window;
    }
    return open(ctx, parent);
}

void FrmNodeInfo::load() {
    m_nodeName->clear();
    m_intensityTable->clear();
    std::optional<NodeFields> node;
    if (!attempt([&] { node = LoadNodeSettings(m_ctx.workspace()); })) {
        giveUp(); // unread, Update could only store a name over one the user never saw
        return;
    }
    if (!node)
        return; // no node row yet: both fields start empty
    m_ctx.session().setCurrentIntensityTable(node->intensityTable);
    m_nodeName->setText(QString::fromStdString(node->nodeName));
    m_intensityTable->setText(QString::fromStdString(node->intensityTable));
}

void FrmNodeInfo::update() {
    if (!IsComplete({m_nodeName->text().toStdString(), m_intensityTable->text().toStdString()})) {
        m_ctx.prompts().message(
            this, "Error", QString::fromUtf8(kFillAllNodeFields.data(), kFillAllNodeFields.size()),
            Prompts::Icon::None, Prompts::Buttons::Ok);
        return;
    }
    const NodeChange change{m_nodeName->text().toStdString(), std::nullopt};
    if (attempt([&] { SaveNodeSettings(m_ctx.workspace(), change); })) {
        emit m_ctx.networkChanged(); // the node's label on the canvas shows the new name
        RecordSetupEdit(m_ctx, "Edit Node");
        close();
    }
}

} // namespace pluvane::gui
