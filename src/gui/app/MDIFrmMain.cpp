#include "gui/app/MDIFrmMain.h"

#include "core/io/OutputGuard.h"

#include "core/Error.h"
#include "core/io/FileChecks.h"
#include "core/store/ProjectDb.h"
#include "core/store/ProjectLock.h"
#include "core/store/StoreMessages.h"
#include "gui/app/AppContext.h"
#include "gui/app/FrmOpen.h"
#include "gui/app/FrmUserGuide.h"
#include "gui/app/Pictures.h"
#include "gui/app/RecentProjects.h"
#include "gui/app/ToolTipKeys.h"
#include "gui/network/FrmDraw.h"
#include "gui/rain/FrmIntensityTable.h"
#include "gui/settings/FrmInfo.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace pluvane::gui {

namespace {

const QString kProjectFilter = "Rational File(*.rmt)|*.rmt|";

bool samePath(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath(), cb = QFileInfo(b).canonicalFilePath();
    return !ca.isEmpty() && ca == cb;
}

} // namespace

MDIFrmMain::MDIFrmMain(AppContext& ctx, QWidget* parent)
    : QMainWindow(parent), m_ctx(ctx), m_mdiArea(new QMdiArea(this)) {
    setObjectName("MDIFrmMain");
    setWindowTitle("Pluvane - Beta");
    setWindowIcon(ApplicationIcon());
    m_mdiArea->setObjectName("MdiArea");
    m_mdiArea->setBackground(QColor(0x60, 0x7d, 0x8b));
    setCentralWidget(m_mdiArea);
    m_ctx.setMainWindow(this);
    m_ctx.onOpenCanvas = [this] { openCanvas(); };
    m_ctx.onShowIntensityEditor = [this] { FrmIntensityTable::open(m_ctx, this); };
    buildMenusAndToolbar();
    AddHelpMenu(m_ctx, this, menuBar(), true);
    resize(1024, 720);
    showStartScreen();
}

MDIFrmMain::~MDIFrmMain() {
    m_ctx.onOpenCanvas = nullptr;
    m_ctx.onShowIntensityEditor = nullptr;
    m_ctx.setMainWindow(nullptr);
}

FrmDraw* MDIFrmMain::canvas() const { return m_canvas; }

FrmOpen* MDIFrmMain::startScreen() const { return m_startScreen; }

void MDIFrmMain::buildMenusAndToolbar() {
    QMenu* file = menuBar()->addMenu("File");
    file->setObjectName("MnuFile");
    QAction* fileNew = file->addAction("New", this, &MDIFrmMain::newProject);
    fileNew->setObjectName("MnuFileNew");
    fileNew->setShortcut(QKeySequence::New);
    QAction* fileOpen = file->addAction("Open", this, &MDIFrmMain::openProject);
    fileOpen->setObjectName("MnuFileOpen");
    fileOpen->setShortcut(QKeySequence::Open);
    QMenu* recent = file->addMenu("Recent Projects");
    recent->setObjectName("MnuRecentProjects");
    KeepRecentMenu(recent, [this](const QString& path) { openRecentProject(path); });
    file->addSeparator()->setObjectName("MnuFileSeperator1");
    QAction* fileExit = file->addAction("Exit", this, &QWidget::close);
    fileExit->setObjectName("MnuFileExit");
    fileExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    m_toolbar = addToolBar("TbDraw");
    m_toolbar->setObjectName("TbDraw");
    m_toolbar->setMovable(false);
    m_toolbar->addSeparator();
    QAction* tbNew = m_toolbar->addAction(style()->standardIcon(QStyle::SP_FileIcon), "New", this,
                                          &MDIFrmMain::newProject);
    tbNew->setToolTip("Start a New File");
    tbNew->setObjectName("TbNew");
    QAction* tbOpen = m_toolbar->addAction(style()->standardIcon(QStyle::SP_DialogOpenButton),
                                           "Open", this, &MDIFrmMain::openProject);
    tbOpen->setToolTip("Open an Existing File");
    tbOpen->setObjectName("TbOpen");
    m_toolbar->addSeparator();
    QAction* tbExit = m_toolbar->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton),
                                           "Exit", this, &QWidget::close);
    tbExit->setToolTip("Exit");
    tbExit->setObjectName("TbExit");
    ShowKeysInToolTips(m_toolbar, {{tbNew, fileNew}, {tbOpen, fileOpen}, {tbExit, fileExit}});
}

void MDIFrmMain::showStartScreen() {
    if (m_startWindow)
        return;
    m_startScreen = new FrmOpen;
    m_startWindow = m_mdiArea->addSubWindow(m_startScreen, Qt::FramelessWindowHint);
    m_startWindow->setAttribute(Qt::WA_DeleteOnClose);
    m_startWindow->showMaximized();
}

void MDIFrmMain::newProject() {
    QWidget* from = m_canvas ? static_cast<QWidget*>(m_canvas) : this;
    const std::optional<QString> chosen =
        m_ctx.prompts().saveFileName(from, kProjectFilter, "rmt", ProjectDialogStart());
    if (!chosen)
        return; // cancelled: nothing changes. A name typed without ".rmt" gets it, so that the
                // project shows in the Open dialog, whose filter lists *.rmt only.
    RememberFolderOf(*chosen);
    // A file open in another window of the program cannot be replaced under its feet.
    if (!(m_canvas && samePath(*chosen, QString::fromStdString(m_ctx.workspace().ProjectPath))) &&
        ProjectLock::isHeldElsewhere(chosen->toStdString())) {
        m_ctx.prompts().error(
            from,
            QString("The project \"%1\" is open in another Pluvane window; it was not replaced.")
                .arg(*chosen));
        return;
    }
    if (!FrmIntensityTable::mayLeaveProject(m_ctx))
        return; // the rainfall editor's unsaved edits are kept: nothing is left, nothing made
    if (!m_ctx.guard(
            from, [&] { CreateProjectFromTemplate(m_ctx.workspace(), chosen->toStdString()); })) {
        // Template missing, folder not writable: the open project stays as it was, and so does
        // the editor, which asks again before its edits go.
        if (FrmIntensityTable* editor = m_ctx.existing<FrmIntensityTable>())
            ProjectSession::markLeaving(editor, false);
        return;
    }
    leaveProject();
    m_ctx.workspace().ProjectPath = chosen->toStdString();
    showProjectSetup();
}

void MDIFrmMain::openProject() {
    QWidget* from = m_canvas ? static_cast<QWidget*>(m_canvas) : this;
    const std::optional<QString> chosen =
        m_ctx.prompts().openFileName(from, kProjectFilter, ProjectDialogStart());
    if (!chosen)
        return;
    RememberFolderOf(*chosen);
    openProjectFile(*chosen);
}

void MDIFrmMain::openRecentProject(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        ForgetRecentProject(path);
        m_ctx.prompts().error(
            m_canvas ? static_cast<QWidget*>(m_canvas) : this,
            QString::fromStdString(RecentProjectMissingMessage(path.toStdString())));
        return;
    }
    openProjectFile(path);
}

void MDIFrmMain::saveProjectAs() {
    if (!m_canvas)
        return;
    Workspace& ws = m_ctx.workspace();
    const QString current = QString::fromStdString(ws.ProjectPath);
    const std::optional<QString> chosen = m_ctx.prompts().saveFileName(
        m_canvas, kProjectFilter, "rmt", QFileInfo(current).absolutePath());
    if (!chosen)
        return;
    const QString target = QFileInfo(*chosen).absoluteFilePath();
    // The one write guard: never the open project, the rainfall database, the template, a
    // project another window holds or a database that is not a project.
    if (!m_ctx.guard(m_canvas,
                     [&] { GuardOutput(ws, target.toStdString(), OutputPurpose::ReplaceProject); }))
        return;
    ProjectLock lock;
    const bool copied = m_ctx.guard(m_canvas, [&] {
        CopyProjectFile(ws.ProjectPath, target.toStdString());
        lock = ProjectLock::acquire(target.toStdString());
    });
    if (!copied)
        return; // the open project stays the one worked on
    // The session moves onto the copy: its lock (the old file's is let go), its path, its title.
    m_ctx.session().holdLock(std::move(lock));
    ws.ProjectPath = target.toStdString();
    RememberOpenedProject(target);
    m_canvas->projectMoved();
    updateCanvasTitle();
}

bool MDIFrmMain::checkOpenable(const QString& path) {
    QWidget* from = m_canvas ? static_cast<QWidget*>(m_canvas) : this;
    const bool reopening =
        m_canvas && samePath(path, QString::fromStdString(m_ctx.workspace().ProjectPath));
    return m_ctx.guard(from, [&] {
        if (!QFileInfo::exists(path))
            throw Error(NoSuchFileMessage(path.toStdString()));
        CheckProjectFile(path.toStdString());
        if (!reopening && ProjectLock::isHeldElsewhere(path.toStdString()))
            throw Error(ProjectOpenElsewhereMessage(path.toStdString()));
    });
}

bool MDIFrmMain::openProjectFile(const QString& path) {
    if (!checkOpenable(path) || !FrmIntensityTable::mayLeaveProject(m_ctx))
        return false;
    leaveProject();
    m_ctx.workspace().ProjectPath = QFileInfo(path).absoluteFilePath().toStdString();
    return openCanvas();
}

bool MDIFrmMain::openCanvas() {
    if (m_canvas) {
        // Already open on this project (the setup dialog's OK from Project Info): show it.
        AppContext::present(m_canvasWindow ? static_cast<QWidget*>(m_canvasWindow)
                                           : m_canvas.data());
        return true;
    }
    auto* canvas = new FrmDraw(m_ctx);
    canvas->setWindowIcon(windowIcon());
    if (!canvas->load()) {
        delete canvas;
        if (m_ctx.workspace().ProjectPath.empty())
            return false;
        showProjectSetup(); // a project whose setup was never completed
        return false;
    }
    m_canvas = canvas;
    connect(canvas, &FrmDraw::newRequested, this, &MDIFrmMain::newProject);
    connect(canvas, &FrmDraw::openRequested, this, &MDIFrmMain::openProject);
    connect(canvas, &FrmDraw::recentRequested, this, &MDIFrmMain::openRecentProject);
    connect(canvas, &FrmDraw::saveAsRequested, this, &MDIFrmMain::saveProjectAs);
    connect(canvas, &FrmDraw::closeRequested, this, &MDIFrmMain::closeCanvas);
    connect(canvas, &FrmDraw::exitRequested, this, &QWidget::close);
    connect(canvas, &FrmDraw::closed, this, &MDIFrmMain::onCanvasClosed);
    if (m_startWindow)
        m_startWindow->close(); // deletes itself later; from now on there is no start screen
    m_startWindow = nullptr;
    m_startScreen = nullptr;
    m_toolbar->hide();
    menuBar()->hide(); // the canvas brings its own menus and toolbar
    m_canvasWindow = m_mdiArea->addSubWindow(canvas);
    m_canvasWindow->setAttribute(Qt::WA_DeleteOnClose);
    // Ctrl+W is the canvas's Close (which runs the same Close steps); the frame's own copy of
    // the key would make it ambiguous, and neither would run.
    if (QMenu* frameMenu = m_canvasWindow->systemMenu())
        for (QAction* item : frameMenu->actions())
            if (item->shortcut() == QKeySequence(QKeySequence::Close))
                item->setShortcut(QKeySequence());
    updateCanvasTitle();
    connect(&m_ctx.session(), &ProjectSession::intensityTableChanged, this,
            &MDIFrmMain::updateCanvasTitle);
    connect(&m_ctx.session(), &ProjectSession::readOnlyChanged, this,
            &MDIFrmMain::updateCanvasTitle);
    RememberOpenedProject(QString::fromStdString(m_ctx.workspace().ProjectPath));
    m_canvasWindow->showMaximized();
    canvas->setFocus();
    return true;
}

void MDIFrmMain::leaveProject() {
    // Every window of the project being left closes first, so nothing typed for it can reach
    // the next one; then the canvas, whose Close steps purge the file and end the session.
    m_ctx.session().closeWindows();
    if (m_canvas)
        closeCanvas();
    m_ctx.endSession();
}

void MDIFrmMain::closeCanvas() {
    if (m_canvasWindow)
        m_canvasWindow->close(); // the canvas's close event runs the Close steps
    else if (m_canvas)
        m_canvas->close();
}

void MDIFrmMain::updateCanvasTitle() {
    if (!m_canvasWindow)
        return;
    m_canvasWindow->setWindowTitle(
        CanvasTitle(QString::fromStdString(m_ctx.workspace().ProjectPath),
                    QString::fromStdString(m_ctx.session().CurrentIntensityTable()),
                    m_ctx.session().readOnly()));
}

QString CanvasTitle(const QString& projectPath, const QString& intensityTable, bool readOnly) {
    QString file = QFileInfo(projectPath).fileName();
    if (readOnly)
        file += " [read-only]";
    return intensityTable.isEmpty() ? file : QString("%1 - Rainfall: %2").arg(file, intensityTable);
}

void MDIFrmMain::onCanvasClosed() {
    m_canvas = nullptr; // it deletes itself later; from now on no project is open
    m_canvasWindow = nullptr;
    m_toolbar->show();
    menuBar()->show();
    showStartScreen();
}

void MDIFrmMain::showProjectSetup() { FrmInfo::open(m_ctx, this); }

void MDIFrmMain::closeEvent(QCloseEvent* event) {
    // Unsaved rainfall edits kept: the program stays as it is.
    if (!FrmIntensityTable::mayLeaveProject(m_ctx)) {
        event->ignore();
        return;
    }
    // The project's windows and canvas first, so its project is purged, then every other
    // window of the program.
    leaveProject();
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != this && window->isVisible())
            window->close();
    event->accept();
}

} // namespace pluvane::gui
