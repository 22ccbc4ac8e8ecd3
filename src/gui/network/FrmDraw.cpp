#include "network/FrmDraw.h"

#include "Error.h"
#include "Settings.h"
#include "app/AppContext.h"
#include "network/CanvasView.h"
#include "network/CanvasCommands.h"
#include "store/ProjectDb.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace pluvane::gui {

FrmDraw::FrmDraw(AppContext& ctx, QWidget* parent)
    : QMainWindow(parent), m_ctx(ctx), m_view(new CanvasView(m_model, this)) {
    setObjectName("FrmDraw");
    setWindowTitle("Drawing");
    setCentralWidget(m_view);
    buildMenus();
    buildToolbar();
    buildPopups();
    connect(m_view, &CanvasView::imagePressed, this, &FrmDraw::onImagePressed);
    connect(m_view, &CanvasView::imageReleased, this, &FrmDraw::onImageReleased);
    // Dialogs that place, rename or delete elements tell the canvas to redraw.
    connect(&m_ctx, &AppContext::networkChanged, this, &FrmDraw::refreshNames);
}

FrmDraw::~FrmDraw() {
    if (m_ctx.network() == &m_model)
        m_ctx.setNetwork(nullptr);
}

bool FrmDraw::load() {
    Workspace& ws = m_ctx.workspace();
    bool loaded = false;
    const bool ran = m_ctx.guard(m_ctx.mainWindow(), [&] {
        m_lock = ProjectLock::Acquire(ws.ProjectPath);
        loaded = m_model.LoadNetwork(ws) == LoadResult::Loaded;
        if (!loaded) {
            PurgeDeletedElements(ws); // the Close steps of a canvas that never showed
            m_lock.release();
        }
    });
    if (!ran) {
        m_lock.release();
        ws.ProjectPath.clear(); // nothing is open; a later command must not act on that file
        return false;
    }
    if (loaded) {
        m_ctx.setNetwork(&m_model);
        refreshNames();
    }
    return loaded;
}

void FrmDraw::refreshNames() {
    std::map<std::pair<ElementKind, std::string>, QString> names;
    // A failed read leaves the pictures without names rather than interrupting the user.
    try {
        for (ElementKind kind : {ElementKind::Basin, ElementKind::Surface, ElementKind::Channel, ElementKind::Node})
            for (const auto& [tag, name] : ReadElementNames(m_ctx.workspace(), kind))
                names[{kind, tag}] = QString::fromStdString(name);
    } catch (const std::exception&) {
    }
    m_view->setNames(std::move(names));
    refreshReview();
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
    add(file, "MnuNew", "New", [this] { emit newRequested(); });
    add(file, "MnuOpen", "Open", [this] { emit openRequested(); });
    add(file, "MnuFileClose", "Close", [this] { emit closeRequested(); });
    file->addSeparator()->setObjectName("MnuSeperator1");
    add(file, "MnuExit", "Exit", [this] { emit exitRequested(); });

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
    reportSource->setChecked(ReportRainfallSourceEnabled(Settings::Load()));
    connect(intensity, &QMenu::aboutToShow, reportSource,
            [reportSource] { reportSource->setChecked(ReportRainfallSourceEnabled(Settings::Load())); });
    connect(reportSource, &QAction::triggered, this, [this, reportSource](bool on) {
        const bool saved = m_ctx.guard(this, [on] {
            Settings settings = Settings::Load();
            SetReportRainfallSource(settings, on);
            settings.Save();
        });
        if (!saved)
            reportSource->setChecked(!on);
    });
    addReviewToggle(intensity, reportSource);

    QMenu* data = bar->addMenu("Data");
    data->setObjectName("MnuData");
    add(data, "MnuProjectInfo", "Project Info", [this] { openProjectInfo(); });
    add(data, "MnuAddSubBasin", "Add Overland Flow", [this] { addElement(ElementKind::Basin); });
    add(data, "MnuAddSCF", "Add Shallow Concentrated Flow", [this] { addElement(ElementKind::Surface); });
    add(data, "MnuAddChanelFlow", "Add Channel Flow", [this] { addElement(ElementKind::Channel); });
    add(data, "MnuEditBasin", "Edit Basin", [this] { openNodeInfo(); });
    data->addSeparator()->setObjectName("MnuSeperator2");
    add(data, "MnuSolve", "Solve", [this] { solve(); });
    add(data, "MnuReview", "Review Project...", [this] { openReview(); });

    QMenu* help = bar->addMenu("About");
    help->setObjectName("mnuHelp");
    add(help, "mnuHelpReportBug", "Submit Comments", [] {})->setVisible(false);
    help->addSeparator()->setObjectName("mnuHelpSeperator1");
    add(help, "MnuHelpAbout", "About", [this] { openAbout(); });
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
        Button{"&Open", 'o', "Open Existing Project", QStyle::SP_DialogOpenButton, [this] { emit openRequested(); }},
        Button{"&New", 'n', "Start a New Project", QStyle::SP_FileIcon, [this] { emit newRequested(); }},
        Button{"&Close", 'c', "Close this Project", QStyle::SP_DialogCloseButton, [this] { emit closeRequested(); }},
        std::nullopt,
        Button{"O&verland", 'v', "Add Overland Flow", QStyle::SP_FileDialogNewFolder, [this] { addElement(ElementKind::Basin); }},
        Button{"S&urface", 'u', "Add Shallow Concentrated Flow", QStyle::SP_ArrowRight, [this] { addElement(ElementKind::Surface); }},
        Button{"C&hannel", 'h', "Add New Channel", QStyle::SP_ArrowDown, [this] { addElement(ElementKind::Channel); }},
        std::nullopt,
        Button{"&Intensity", 'i', "Edit Intensity Table", QStyle::SP_FileDialogDetailedView, [this] { openIntensityEditor(); }},
        Button{"&Project", 'p', "Edit Project Information", QStyle::SP_FileDialogInfoView, [this] { openProjectInfo(); }},
        std::nullopt,
        Button{"&Solve", 's', "Solve System", QStyle::SP_MediaPlay, [this] { solve(); }},
    };
    for (const auto& button : buttons) {
        if (!button) {
            m_toolbar->addSeparator();
            continue;
        }
        QAction* action = m_toolbar->addAction(style()->standardIcon(button->icon), button->caption);
        action->setToolTip(button->tooltip);
        action->setData(QString(QChar(button->key)));
        action->setShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(QChar(button->key).toUpper().unicode())));
        action->setObjectName(QString("TbDraw_") + QString(button->caption).remove('&'));
        connect(action, &QAction::triggered, this, button->action);
    }
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
        {ElementKind::Basin, "MnuPopBasin", "MnuBasinName", "Basin Name",
         {{"Mnu_Basin_Delete", "Delete Overland"}, {"Mnu_Basin_Edit", "Edit Data"}}},
        {ElementKind::Channel, "MnuPopChannel", "MnuChannelName", "Channel Name",
         {{"MnuPopDeleteChannel", "Delete Channel"}, {"MnuPopEditChannel", "Edit Data"}}},
        {ElementKind::Surface, "MnuPopSurface", "MnuSurfaceName", "Surface Name",
         {{"MnuPopDeleteSurface", "Delete Surface"}, {"MnuPopEditSurface", "Edit Data"}}},
        {ElementKind::Node, "MnuPopNode", "MnuNodeName", "Node Name", {{"Mnu_Node_Edit", "Edit Basin Data"}}},
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
            if (popup.kind == ElementKind::Node)
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

void FrmDraw::onImagePressed(ElementKind kind, int index, Qt::MouseButton button, QPoint globalPos) {
    Workspace& ws = m_ctx.workspace();
    m_model.Select(ws, kind, index);
    m_view->sync();
    if (button != Qt::RightButton)
        return;
    QString name;
    if (!m_ctx.guard(this, [&] { name = QString::fromStdString(ReadElementName(ws, kind, ws.SelectedElement->tag)); }))
        return;
    m_popupNames[kind]->setText(name);
    m_popups[kind]->popup(globalPos);
}

void FrmDraw::onImageReleased(ElementKind kind, int index) {
    // Written on every release, moved or not: the file always holds what the canvas shows.
    m_ctx.guard(this, [&] { m_model.WritePosition(m_ctx.workspace(), kind, index); });
}

void FrmDraw::addElement(ElementKind kind) {
    if (!m_model.CheckElementLimit(kind)) {
        m_ctx.prompts().message(this, "Maximum Reached", QString::fromUtf8(kindInfo(kind).limitMessage.data(),
                                                                          static_cast<int>(kindInfo(kind).limitMessage.size())),
                                Prompts::Icon::None);
        return;
    }
    OpenAddDialog(m_ctx, kind);
}

void FrmDraw::deleteSelected() {
    if (m_ctx.guard(this, [&] { m_model.DeleteElement(m_ctx.workspace()); }))
        m_view->sync();
}

void FrmDraw::editSelected() {
    const auto& selected = m_ctx.workspace().SelectedElement;
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
    if (!m_closed) {
        m_closed = true;
        CloseProjectWindows(m_ctx);
        // Rows marked deleted leave the file now; a failure is told, and the window still closes.
        m_ctx.guard(m_ctx.mainWindow(), [&] { PurgeDeletedElements(m_ctx.workspace()); });
        m_lock.release();
        if (m_ctx.network() == &m_model)
            m_ctx.setNetwork(nullptr);
        m_ctx.workspace().SelectedElement.reset();
        emit closed();
    }
    event->accept();
}

} // namespace pluvane::gui
