#include "gui/network/FrmDraw.h"

#include "core/Error.h"
#include "core/Settings.h"
#include "core/store/ProjectDb.h"
#include "gui/app/AppContext.h"
#include "gui/app/FrmUserGuide.h"
#include "gui/app/RecentProjects.h"
#include "gui/app/ToolTipKeys.h"
#include "gui/comments/FrmBugReport.h"
#include "gui/network/CanvasCommands.h"
#include "gui/network/CanvasView.h"
#include "gui/network/UndoCommands.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

#include <algorithm>

namespace pluvane::gui {

FrmDraw::FrmDraw(AppContext& ctx, QWidget* parent)
    : QMainWindow(parent), m_ctx(ctx), m_view(new CanvasView(m_model, this)) {
    setObjectName("FrmDraw");
    setWindowTitle("Drawing");
    setCentralWidget(m_view);
    buildMenus();
    buildEditMenu();
    buildViewMenu();
    buildToolbar();
    buildUndoButtons();
    buildPopups();
    buildStatusBar();
    connect(m_view, &CanvasView::imagePressed, this, &FrmDraw::onImagePressed);
    connect(m_view, &CanvasView::imageReleased, this, &FrmDraw::onImageReleased);
    connect(m_view, &CanvasView::keyNudged, this, &FrmDraw::nudgeSelected);
    connect(m_view, &CanvasView::keyNudgeEnded, this, &FrmDraw::endNudge);
    connect(m_view, &CanvasView::selectionCycleRequested, this, &FrmDraw::cycleSelection);
    connect(m_view, &CanvasView::selectionOpenRequested, this, &FrmDraw::openSelected);
    connect(m_view, &CanvasView::pointerMoved, this, &FrmDraw::showPointer);
    // Dialogs that place, rename or delete elements tell the canvas to redraw.
    connect(&m_ctx, &AppContext::networkChanged, this, &FrmDraw::refreshNames);
}

FrmDraw::~FrmDraw() {
    endHistory();
    if (m_ctx.network() == &m_model)
        m_ctx.setNetwork(nullptr);
}

bool FrmDraw::load() {
    Workspace& ws = m_ctx.workspace();
    bool loaded = false;
    std::string intensityTable;
    ProjectSession& session = m_ctx.session();
    const bool ran = m_ctx.guard(m_ctx.mainWindow(), [&] {
        session.holdLock(ProjectLock::acquire(ws.ProjectPath));
        const LoadedNetwork network = m_model.LoadNetwork(ws);
        loaded = network.result == LoadResult::Loaded;
        intensityTable = network.intensityTable;
        if (!loaded) {
            PurgeDeletedElements(ws); // the Close steps of a canvas that never showed
            session.releaseLock();
        }
    });
    if (!ran) {
        session.releaseLock();
        ws.ProjectPath.clear(); // nothing is open; a later command must not act on that file
        return false;
    }
    if (loaded) {
        session.setCurrentIntensityTable(intensityTable);
        m_ctx.setNetwork(&m_model);
        startHistory();
        refreshNames();
        m_ctx.refreshIntensityTable();
        // Whether the file can be written is known before the first edit, not found by it.
        applyReadOnly();
        ProjectSession* session = &m_ctx.session();
        connect(session, &ProjectSession::intensityTableChanged, this, [this] {
            markSolveOutOfDate();
            refreshStatus();
        });
        connect(session, &ProjectSession::solved, this, &FrmDraw::onSolved);
        connect(session, &ProjectSession::readOnlyChanged, this, &FrmDraw::refreshStatus);
        refreshStatus();
        m_view->fitWhenLarger();
        // The keyboard works on the drawing from the start: Tab, arrows, Delete, Enter.
        m_view->setFocusPolicy(Qt::StrongFocus);
        setFocusProxy(m_view);
        m_view->setFocus();
    }
    return loaded;
}

void FrmDraw::refreshNames() {
    std::map<std::pair<ElementKind, std::string>, QString> names;
    // A failed read leaves the pictures without names rather than interrupting the user.
    try {
        for (ElementKind kind :
             {ElementKind::Basin, ElementKind::Surface, ElementKind::Channel, ElementKind::Node})
            for (const auto& [tag, name] : ReadElementNames(m_ctx.workspace(), kind))
                names[{kind, tag}] = QString::fromStdString(name);
    } catch (const std::exception&) {
    }
    m_view->setNames(std::move(names));
    refreshReview();
    refreshStatus();
}

void FrmDraw::buildMenus() {
    QMenuBar* bar = menuBar();
    auto add = [this](QMenu* menu, const char* name, const QString& caption, auto slot) {
        QAction* action = menu->addAction(caption, this, slot);
        action->setObjectName(name);
        return action;
    };
    QMenu* file = bar->addMenu("File");
    file->setObjectName("MnuFile");
    file->setToolTipsVisible(true);
    add(file, "MnuNew", "New", [this] { emit newRequested(); })->setShortcut(QKeySequence::New);
    add(file, "MnuOpen", "Open", [this] { emit openRequested(); })->setShortcut(QKeySequence::Open);
    QMenu* recent = file->addMenu("Recent Projects");
    recent->setObjectName("MnuRecentProjects");
    KeepRecentMenu(recent, [this](const QString& path) { emit recentRequested(path); });
    add(file, "MnuSaveProjectAs", "Save Project As...", [this] {
        emit saveAsRequested();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    add(file, "MnuPrintDrawing", "Print Drawing...", [this] {
        printDrawing();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    add(file, "MnuFileClose", "Close", [this] {
        emit closeRequested();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    file->addSeparator()->setObjectName("MnuSeperator1");
    add(file, "MnuExit", "Exit", [this] {
        emit exitRequested();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* intensity = bar->addMenu("Intensity");
    intensity->setObjectName("MnuIntensity");
    add(intensity, "MnuChangeTable", "Change Table", [this] { changeTable(); })->setVisible(false);
    add(intensity, "MnuEditTable", "Edit Table", [this] { openIntensityEditor(); });
    intensity->addSeparator()->setObjectName("MnuIntensitySeparator");
    // The user's choice, kept in the settings file that the command line reads too; the menu
    // re-reads it each time it opens.
    QAction* reportSource = intensity->addAction("Rainfall Source in Report");
    reportSource->setObjectName("MnuReportSource");
    reportSource->setCheckable(true);
    reportSource->setChecked(ReportRainfallSourceEnabled(Settings::load()));
    connect(intensity, &QMenu::aboutToShow, reportSource, [reportSource] {
        reportSource->setChecked(ReportRainfallSourceEnabled(Settings::load()));
    });
    connect(reportSource, &QAction::triggered, this, [this, reportSource](bool on) {
        const bool saved = m_ctx.guard(this, [on] {
            Settings settings = Settings::load();
            SetReportRainfallSource(settings, on);
            settings.save();
        });
        if (!saved)
            reportSource->setChecked(!on);
    });
    addReviewToggle(intensity, reportSource);

    QMenu* data = bar->addMenu("Data");
    data->setObjectName("MnuData");
    data->setToolTipsVisible(true);
    add(data, "MnuProjectInfo", "Project Info", [this] { openProjectInfo(); });
    // Ctrl+Shift and the letter the toolbar button underlines (O&verland, S&urface, C&hannel).
    add(data, "MnuAddSubBasin", "Add Overland Flow", [this] {
        addElement(ElementKind::Basin);
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    add(data, "MnuAddSCF", "Add Shallow Concentrated Flow", [this] {
        addElement(ElementKind::Surface);
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U));
    add(data, "MnuAddChanelFlow", "Add Channel Flow", [this] {
        addElement(ElementKind::Channel);
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H));
    add(data, "MnuEditBasin", "Edit Basin", [this] { openNodeInfo(); });
    data->addSeparator()->setObjectName("MnuSeperator2");
    add(data, "MnuSolve", "Solve", [this] {
        solve();
    })->setShortcuts({QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_R)});
    add(data, "MnuReview", "Review Project...", [this] { openReview(); });
    add(data, "MnuRecomputeTc", "Recompute Tc", [this] { RecomputeTc(m_ctx); })
        ->setToolTip("Recompute every computed Tc and velocity from the stored inputs and the "
                     "project's rainfall table; typed values stay as typed");

    QMenu* help = bar->addMenu("About");
    help->setObjectName("mnuHelp");
    // Offered only when the settings name a comment server.
    KeepCommentsItemVisibility(help, add(help, "mnuHelpReportBug", "Submit Comments",
                                         [this] { FrmBugReport::open(m_ctx); }));
    help->addSeparator()->setObjectName("mnuHelpSeperator1");
    add(help, "MnuHelpAbout", "About", [this] { openAbout(); });
    AddHelpMenu(m_ctx, this, bar, false);
}

void FrmDraw::buildToolbar() {
    m_toolbar = addToolBar("TbDraw");
    m_toolbar->setObjectName("TbDraw");
    m_toolbar->setMovable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    struct Button {
        const char* caption;
        char key;
        const char* tooltip;
        QStyle::StandardPixmap icon;
        std::function<void()> action;
    };
    const std::vector<std::optional<Button>> buttons{
        Button{"&Open", 'o', "Open Existing Project", QStyle::SP_DialogOpenButton,
               [this] { emit openRequested(); }},
        Button{"&New", 'n', "Start a New Project", QStyle::SP_FileIcon,
               [this] { emit newRequested(); }},
        Button{"&Close", 'c', "Close this Project", QStyle::SP_DialogCloseButton,
               [this] { emit closeRequested(); }},
        std::nullopt,
        Button{"O&verland", 'v', "Add Overland Flow", QStyle::SP_FileDialogNewFolder,
               [this] { addElement(ElementKind::Basin); }},
        Button{"S&urface", 'u', "Add Shallow Concentrated Flow", QStyle::SP_ArrowRight,
               [this] { addElement(ElementKind::Surface); }},
        Button{"C&hannel", 'h', "Add New Channel", QStyle::SP_ArrowDown,
               [this] { addElement(ElementKind::Channel); }},
        std::nullopt,
        Button{"&Intensity", 'i', "Edit Intensity Table", QStyle::SP_FileDialogDetailedView,
               [this] { openIntensityEditor(); }},
        Button{"&Project", 'p', "Edit Project Information", QStyle::SP_FileDialogInfoView,
               [this] { openProjectInfo(); }},
        std::nullopt,
        Button{"&Solve", 's', "Solve System", QStyle::SP_MediaPlay, [this] { solve(); }},
    };
    for (const auto& button : buttons) {
        if (!button) {
            m_toolbar->addSeparator();
            continue;
        }
        QAction* action =
            m_toolbar->addAction(style()->standardIcon(button->icon), button->caption);
        action->setToolTip(button->tooltip);
        action->setData(QString(QChar(button->key)));
        action->setShortcut(
            QKeySequence(Qt::ALT | static_cast<Qt::Key>(QChar(button->key).toUpper().unicode())));
        action->setObjectName(QString("TbDraw_") + QString(button->caption).remove('&'));
        connect(action, &QAction::triggered, this, button->action);
    }
    const std::pair<const char*, const char*> commands[] = {
        {"TbDraw_Open", "MnuOpen"},           {"TbDraw_New", "MnuNew"},
        {"TbDraw_Close", "MnuFileClose"},     {"TbDraw_Overland", "MnuAddSubBasin"},
        {"TbDraw_Surface", "MnuAddSCF"},      {"TbDraw_Channel", "MnuAddChanelFlow"},
        {"TbDraw_Project", "MnuProjectInfo"}, {"TbDraw_Solve", "MnuSolve"}};
    std::vector<std::pair<QAction*, const QAction*>> keyed;
    for (const auto& [button, menuCommand] : commands)
        keyed.emplace_back(findChild<QAction*>(button), command(menuCommand));
    ShowKeysInToolTips(m_toolbar, keyed);
}

void FrmDraw::buildPopups() {
    struct Popup {
        ElementKind kind;
        const char* menu;
        const char* nameItem;
        const char* nameCaption;
        std::vector<std::pair<const char*, const char*>> items; // objectName, caption
    };
    const Popup popups[] = {
        {ElementKind::Basin,
         "MnuPopBasin",
         "MnuBasinName",
         "Basin Name",
         {{"Mnu_Basin_Delete", "Delete Overland"}, {"Mnu_Basin_Edit", "Edit Data"}}},
        {ElementKind::Channel,
         "MnuPopChannel",
         "MnuChannelName",
         "Channel Name",
         {{"MnuPopDeleteChannel", "Delete Channel"}, {"MnuPopEditChannel", "Edit Data"}}},
        {ElementKind::Surface,
         "MnuPopSurface",
         "MnuSurfaceName",
         "Surface Name",
         {{"MnuPopDeleteSurface", "Delete Surface"}, {"MnuPopEditSurface", "Edit Data"}}},
        {ElementKind::Node,
         "MnuPopNode",
         "MnuNodeName",
         "Node Name",
         {{"Mnu_Node_Edit", "Edit Basin Data"}, {"Mnu_Node_Conveyance", "Outlet Conveyance..."}}},
    };
    for (const Popup& popup : popups) {
        auto* menu = new QMenu(this);
        menu->setObjectName(popup.menu);
        QAction* name = menu->addAction(popup.nameCaption);
        name->setObjectName(popup.nameItem);
        name->setEnabled(false);
        menu->addSeparator();
        for (const auto& [objectName, caption] : popup.items) {
            QAction* item = menu->addAction(caption);
            item->setObjectName(objectName);
            const bool isDelete = QString(caption).startsWith("Delete");
            if (QString(objectName) == "Mnu_Node_Conveyance")
                connect(item, &QAction::triggered, this, [this] { OpenOutletConveyance(m_ctx); });
            else if (popup.kind == ElementKind::Node)
                connect(item, &QAction::triggered, this, &FrmDraw::openNodeInfo);
            else if (isDelete)
                connect(item, &QAction::triggered, this, &FrmDraw::deleteSelected);
            else
                connect(item, &QAction::triggered, this, &FrmDraw::editSelected);
        }
        m_popups[popup.kind] = menu;
        m_popupNames[popup.kind] = name;
    }
}

void FrmDraw::onImagePressed(ElementKind kind, int index, Qt::MouseButton button,
                             QPoint globalPos) {
    Workspace& ws = m_ctx.workspace();
    m_model.Select(kind, index);
    m_view->sync();
    if (button == Qt::LeftButton) {
        m_dragged = std::pair(kind, index);
        m_dragStart = QPointF(m_model.image(kind, index).left, m_model.image(kind, index).top);
    }
    if (button != Qt::RightButton)
        return;
    QString name;
    if (!m_ctx.guard(this, [&] {
            name = QString::fromStdString(ReadElementName(ws, kind, m_model.SelectedElement->tag));
        }))
        return;
    m_popupNames[kind]->setText(QString(name).replace('&', "&&")); // "&" shown, not an accelerator
    m_popups[kind]->popup(globalPos);
}

void FrmDraw::onImageReleased(ElementKind kind, int index) {
    if (m_ctx.session().readOnly()) {
        m_dragged.reset();
        return; // nothing was moved, and nothing can be written
    }
    const CanvasImage& image = m_model.image(kind, index);
    const QPointF now(image.left, image.top);
    const bool moved = m_dragged == std::pair(kind, index) && now != m_dragStart;
    const QPointF from = m_dragStart;
    m_dragged.reset();
    // Written on every release, moved or not: the file always holds what the canvas shows. A
    // drag that moved the image is one step of the history, which writes it.
    const bool written = m_ctx.guard(this, [&] {
        if (moved && m_history)
            m_history->moveElement(kind, index, from, now);
        else
            m_model.WritePosition(m_ctx.workspace(), kind, index);
    });
    // Not written (a read-only or full disk): the file keeps the old place, so the image goes
    // back there rather than show a place that is not saved.
    if (!written && moved) {
        m_model.MoveImage(kind, index, static_cast<float>(from.x()), static_cast<float>(from.y()));
        m_view->sync();
    }
}

void FrmDraw::addElement(ElementKind kind) {
    if (!m_model.CheckElementLimit(kind)) {
        m_ctx.prompts().message(
            this, "Maximum Reached",
            QString::fromUtf8(kindInfo(kind).limitMessage.data(),
                              static_cast<int>(kindInfo(kind).limitMessage.size())),
            Prompts::Icon::None);
        return;
    }
    OpenAddDialog(m_ctx, kind);
}

void FrmDraw::deleteSelected() {
    const auto selected = m_model.SelectedElement;
    if (!selected || selected->kind == ElementKind::Node || m_ctx.session().readOnly())
        return;
    if (m_ctx.guard(this, [&] {
            if (m_history)
                m_history->deleteElement(selected->kind, selected->index);
            else
                m_model.DeleteElement(m_ctx.workspace());
        }))
        m_view->sync();
    refreshStatus();
}

void FrmDraw::endHistory() {
    if (!m_history)
        return;
    m_history->disconnect(this);
    delete m_history;
    m_history = nullptr;
    m_undoAction->setText("Undo");
    m_redoAction->setText("Redo");
    m_undoAction->setEnabled(false);
    m_redoAction->setEnabled(false);
}

void FrmDraw::nudgeSelected(float dx, float dy) {
    const auto& selected = m_model.SelectedElement;
    if (!selected || m_ctx.session().readOnly())
        return;
    const CanvasImage& image = m_model.image(selected->kind, selected->index);
    // The presses of one key, held or repeated, are one move, as a drag is.
    if (m_dragged != std::pair(selected->kind, selected->index)) {
        m_dragged = std::pair(selected->kind, selected->index);
        m_dragStart = QPointF(image.left, image.top);
    }
    m_model.MoveImage(selected->kind, selected->index, std::max(0.0f, image.left + dx),
                      std::max(0.0f, image.top + dy));
    m_view->sync();
}

void FrmDraw::endNudge() {
    if (m_dragged)
        onImageReleased(m_dragged->first, m_dragged->second);
}

void FrmDraw::cycleSelection(bool forward) {
    std::vector<std::pair<ElementKind, int>> order;
    for (ElementKind kind :
         {ElementKind::Basin, ElementKind::Surface, ElementKind::Channel, ElementKind::Node}) {
        const auto& images = m_model.images(kind);
        for (int i = 0; i < static_cast<int>(images.size()); ++i)
            if (images[static_cast<std::size_t>(i)].visible)
                order.emplace_back(kind, i);
    }
    if (order.empty())
        return;
    const auto& selected = m_model.SelectedElement;
    const auto at =
        selected ? std::find(order.begin(), order.end(), std::pair(selected->kind, selected->index))
                 : order.end();
    std::size_t next = 0;
    if (at == order.end())
        next = forward ? 0 : order.size() - 1;
    else {
        const auto position = static_cast<std::size_t>(at - order.begin());
        next =
            forward ? (position + 1) % order.size() : (position + order.size() - 1) % order.size();
    }
    m_model.Select(order[next].first, order[next].second);
    m_view->sync();
    const CanvasImage& image = m_model.image(order[next].first, order[next].second);
    m_view->ensureVisible(QRectF(image.left, image.top, image.width, image.height));
}

void FrmDraw::openSelected() {
    const auto& selected = m_model.SelectedElement;
    if (!selected)
        return;
    if (selected->kind == ElementKind::Node)
        openNodeInfo();
    else
        editSelected();
}

void FrmDraw::startHistory() {
    endHistory();
    m_history = new EditHistory(m_ctx, m_model, this);
    // Without the rows as they were, no step could be taken back: the history stays empty.
    m_ctx.guard(this, [this] { m_history->snapshotProject(); });
    const auto update = [this] {
        m_undoAction->setEnabled(m_history->canUndo());
        m_redoAction->setEnabled(m_history->canRedo());
        m_undoAction->setText(m_history->canUndo() ? "Undo " + m_history->undoText()
                                                   : QString("Undo"));
        m_redoAction->setText(m_history->canRedo() ? "Redo " + m_history->redoText()
                                                   : QString("Redo"));
    };
    connect(m_history, &QUndoStack::indexChanged, this, update);
    // Any step, done, undone or redone, changes the project the last solve was made on.
    connect(m_history, &QUndoStack::indexChanged, this, [this] {
        markSolveOutOfDate();
        refreshStatus();
    });
    connect(m_history, &QUndoStack::cleanChanged, this, update);
    update();
}

void FrmDraw::undo() {
    if (m_history && m_history->canUndo())
        m_ctx.guard(this, [this] { m_history->undo(); });
    m_view->sync();
}

void FrmDraw::redo() {
    if (m_history && m_history->canRedo())
        m_ctx.guard(this, [this] { m_history->redo(); });
    m_view->sync();
}

void FrmDraw::buildEditMenu() {
    // After File, where every desktop program keeps it; the other menus keep their order.
    QMenu* edit = new QMenu("Edit", this);
    edit->setObjectName("MnuEdit");
    edit->setToolTipsVisible(true); // a command greyed for a read-only file says why
    menuBar()->insertMenu(menuBar()->actions().value(1), edit);
    m_undoAction = edit->addAction("Undo", this, &FrmDraw::undo);
    m_undoAction->setObjectName("MnuUndo");
    m_undoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    m_redoAction = edit->addAction("Redo", this, &FrmDraw::redo);
    m_redoAction->setObjectName("MnuRedo");
    m_redoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    m_undoAction->setEnabled(false);
    m_redoAction->setEnabled(false);
    edit->addSeparator();
    // The key acts on the canvas only, so that Delete in a text field elsewhere stays a text key.
    QAction* remove = edit->addAction("Delete", this, &FrmDraw::deleteSelected);
    remove->setObjectName("MnuDeleteSelected");
    remove->setShortcut(QKeySequence(Qt::Key_Delete));
    remove->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_view->addAction(remove);
}

void FrmDraw::buildViewMenu() {
    QMenu* view = new QMenu("View", this);
    view->setObjectName("MnuView");
    menuBar()->insertMenu(menuBar()->actions().value(2), view);
    const auto add = [&](const char* name, const QString& caption, QList<QKeySequence> keys,
                         auto slot) {
        QAction* action = view->addAction(caption, m_view, slot);
        action->setObjectName(name);
        action->setShortcuts(keys);
    };
    add("MnuZoomIn", "Zoom In",
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        &CanvasView::zoomIn);
    add("MnuZoomOut", "Zoom Out", {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, &CanvasView::zoomOut);
    add("MnuZoomFit", "Fit", {QKeySequence(Qt::CTRL | Qt::Key_0)}, &CanvasView::zoomToFit);
    add("MnuZoomActual", "100 %", {QKeySequence(Qt::CTRL | Qt::Key_1)},
        &CanvasView::zoomToActualSize);
}

void FrmDraw::buildUndoButtons() {
    m_toolbar->addSeparator();
    struct Button {
        const char* name;
        const char* caption;
        const char* tooltip;
        QStyle::StandardPixmap icon;
        QAction* mirrored;
    };
    for (const Button& button :
         {Button{"TbDraw_Undo", "Undo", "Undo the Last Step", QStyle::SP_ArrowBack, m_undoAction},
          Button{"TbDraw_Redo", "Redo", "Redo the Step Undone", QStyle::SP_ArrowForward,
                 m_redoAction}}) {
        QAction* action = m_toolbar->addAction(style()->standardIcon(button.icon), button.caption);
        action->setObjectName(button.name);
        action->setToolTip(button.tooltip);
        QAction* mirrored = button.mirrored;
        action->setEnabled(mirrored->isEnabled());
        connect(action, &QAction::triggered, mirrored, &QAction::trigger);
        connect(mirrored, &QAction::changed, action,
                [action, mirrored] { action->setEnabled(mirrored->isEnabled()); });
        ShowKeysInToolTips(m_toolbar, {{action, mirrored}});
    }
}

void FrmDraw::editSelected() {
    const auto& selected = m_model.SelectedElement;
    if (selected && selected->kind != ElementKind::Node)
        OpenUpdateDialog(m_ctx, selected->kind);
}

void FrmDraw::openProjectInfo() { OpenProjectSetup(m_ctx); }
void FrmDraw::openNodeInfo() { OpenNodeSettings(m_ctx); }
void FrmDraw::openIntensityEditor() { OpenIntensityEditor(m_ctx); }
void FrmDraw::changeTable() { OpenTablePicker(m_ctx); }
void FrmDraw::openAbout() { OpenAbout(m_ctx); }

void FrmDraw::solve() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool anything = false;
    const bool ran = m_ctx.guard(this, [&] { anything = ProbeAndSolve(m_ctx); });
    QApplication::restoreOverrideCursor();
    if (ran && !anything)
        m_ctx.prompts().message(this, "Error", "Nothing to Solve", Prompts::Icon::Exclamation);
}

void FrmDraw::closeEvent(QCloseEvent* event) {
    // Close (the menu, the toolbar, the title bar) leaves the project: unsaved rainfall edits
    // kept, the canvas stays open.
    if (!m_closed && !MayLeaveProject(m_ctx)) {
        event->ignore();
        return;
    }
    if (!m_closed) {
        m_closed = true;
        CloseProjectWindows(m_ctx);
        // The history ends with the session: nothing taken back after the purge.
        endHistory();
        // Rows marked deleted leave the file now; a failure is told, and the window still closes.
        // A read-only file was said so when it opened, and nothing was marked in it since.
        if (!m_ctx.session().readOnly())
            m_ctx.guard(m_ctx.mainWindow(), [&] { PurgeDeletedElements(m_ctx.workspace()); });
        if (m_ctx.network() == &m_model)
            m_ctx.setNetwork(nullptr);
        m_ctx.endSession(); // lets go of the file's lock
        emit closed();
    }
    event->accept();
}

} // namespace pluvane::gui
