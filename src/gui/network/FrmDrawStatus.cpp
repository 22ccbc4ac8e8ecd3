// The drawing window's status bar (the project, its rainfall table, the element counts, the
// pointer's place and the last solve) and its read-only state.
#include "core/ElementKind.h"
#include "core/io/FileChecks.h"
#include "core/store/StoreMessages.h"
#include "gui/app/AppContext.h"
#include "gui/network/CanvasView.h"
#include "gui/network/FrmDraw.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

#include <cmath>

namespace pluvane::gui {

namespace {

constexpr double kTwipsPerFoot = 1440.0 * 12.0;

// The commands that write the project file, disabled while it cannot be written. "Edit Data"
// stays: the element's dialog shows its values, with its save greyed (ShowUpdateDialog).
constexpr const char* kEditCommands[] = {
    "MnuAddSubBasin",  "MnuAddSCF",        "MnuAddChanelFlow",    "MnuProjectInfo",
    "MnuEditBasin",    "MnuSolve",         "MnuDeleteSelected",   "MnuChangeTable",
    "TbDraw_Overland", "TbDraw_Surface",   "TbDraw_Channel",      "TbDraw_Project",
    "TbDraw_Solve",    "Mnu_Basin_Delete", "MnuPopDeleteChannel", "MnuPopDeleteSurface",
    "Mnu_Node_Edit"};

} // namespace

QAction* FrmDraw::command(const char* name) const { return findChild<QAction*>(name); }

void FrmDraw::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar");
    bar->setSizeGripEnabled(false);
    // Widest first: the path takes what the others leave.
    for (const auto& [name, stretch] :
         {std::pair{"LblProject", 3}, std::pair{"LblRainfall", 1}, std::pair{"LblCounts", 0},
          std::pair{"LblPointer", 0}, std::pair{"LblSolve", 0}}) {
        auto* label = new QLabel(bar);
        label->setObjectName(name);
        bar->addWidget(label, stretch);
        m_status[name] = label;
    }
    m_status["LblProject"]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status["LblProject"]->setMinimumWidth(80);
}

QString FrmDraw::statusText(const char* part) const {
    const auto it = m_status.find(part);
    return it == m_status.end() ? QString() : it->second->text();
}

void FrmDraw::refreshStatus() {
    if (m_status.empty())
        return;
    const QString path = QString::fromStdString(m_ctx.workspace().ProjectPath);
    QString project = QDir::toNativeSeparators(path);
    if (m_ctx.session().readOnly())
        project += " (read-only)";
    m_status["LblProject"]->setText(project);
    m_status["LblProject"]->setToolTip(m_ctx.session().readOnly() ? m_ctx.session().readOnlyReason()
                                                                  : QDir::toNativeSeparators(path));
    const QString table = QString::fromStdString(m_ctx.session().CurrentIntensityTable());
    m_status["LblRainfall"]->setText(table.isEmpty() ? QString("Rainfall: none chosen")
                                                     : QString("Rainfall: %1").arg(table));
    QStringList counts;
    for (const auto& [kind, caption] :
         {std::pair{ElementKind::Basin, "Overland"}, std::pair{ElementKind::Surface, "Shallow"},
          std::pair{ElementKind::Channel, "Channel"}})
        counts << QString("%1 %2/%3").arg(caption).arg(m_model.LiveCount(kind)).arg(kElementLimit);
    m_status["LblCounts"]->setText(counts.join("  "));
    QString solve = "Not solved yet";
    if (m_solved && std::isnan(m_q100))
        solve = QString("Solve failed at %1").arg(m_solvedAt);
    else if (m_solved)
        solve = QString("Q100 %1 cfs at %2").arg(m_q100, 0, 'f', 2).arg(m_solvedAt);
    if (m_solved && !m_solveCurrent)
        solve += " (out of date)";
    m_status["LblSolve"]->setText(solve);
    m_status["LblSolve"]->setToolTip(
        m_solved && !m_solveCurrent
            ? QString("The project changed after this solve; Solve (F5) again for current results.")
            : QString());
}

void FrmDraw::showPointer(const QPointF& scenePos, bool inside) {
    const auto it = m_status.find("LblPointer");
    if (it == m_status.end())
        return;
    // The drawing's positions are twips on the sheet; shown in feet, as every length here is.
    it->second->setText(inside ? QString("x %1 ft, y %2 ft")
                                     .arg(scenePos.x() / kTwipsPerFoot, 0, 'f', 3)
                                     .arg(scenePos.y() / kTwipsPerFoot, 0, 'f', 3)
                               : QString());
}

void FrmDraw::onSolved(double q100) {
    m_solved = true;
    m_solveCurrent = true;
    m_q100 = q100;
    m_solvedAt = QTime::currentTime().toString("HH:mm");
    refreshStatus();
}

void FrmDraw::markSolveOutOfDate() { m_solveCurrent = false; }

void FrmDraw::applyReadOnly() {
    const std::string path = m_ctx.workspace().ProjectPath;
    const std::string obstacle = path.empty() ? std::string() : WriteObstacle(path);
    const QString reason =
        obstacle.empty() ? QString() : QString::fromStdString(ReadOnlyProjectMessage(obstacle));
    m_ctx.session().setReadOnlyReason(reason);
    const bool writable = reason.isEmpty();
    std::vector<QAction*> actions;
    for (const char* name : kEditCommands)
        if (QAction* action = command(name))
            actions.push_back(action);
    for (QAction* action : actions) {
        action->setEnabled(writable);
        // The toolbar's words are its own; a menu item's tooltip says why it is greyed.
        if (action->objectName().startsWith("TbDraw_"))
            action->setProperty("pluvaneWhyDisabled", reason);
        else
            action->setToolTip(writable ? action->text() : reason);
    }
    for (const auto& [kind, menu] : m_popups)
        menu->setToolTipsVisible(true);
    m_view->setImagesMovable(writable);
    refreshStatus();
}

void FrmDraw::projectMoved() {
    applyReadOnly();
    refreshStatus();
}

} // namespace pluvane::gui
