#pragma once

#include "core/Workspace.h"
#include "gui/app/ProjectSession.h"
#include "gui/app/Prompts.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace pluvane {
class NetworkModel;
} // namespace pluvane

namespace pluvane::gui {

// What every window of a run shares: the Workspace, the prompts, the drawing model of the open
// project, the main window, and the session of the open project with its windows.
class AppContext : public QObject {
    Q_OBJECT
public:
    AppContext(Workspace workspace, Prompts& prompts, QObject* parent = nullptr);

    Workspace& workspace() { return m_workspace; }
    Prompts& prompts() { return m_prompts; }

    // The model of the open canvas; null while no project is open.
    NetworkModel* network() const { return m_network; }
    void setNetwork(NetworkModel* network) { m_network = network; }

    QWidget* mainWindow() const { return m_mainWindow; }
    void setMainWindow(QWidget* window) { m_mainWindow = window; }
    // Every window takes the main window's icon.
    QIcon icon() const { return m_mainWindow ? m_mainWindow->windowIcon() : QIcon(); }

    // The open project: its lock, its recorded rainfall table and its windows.
    ProjectSession& session() { return *m_session; }
    // Ends the open project's session: its windows close, its lock is let go, and a fresh
    // session starts for whatever is opened next.
    void endSession();

    // The one way to open a single-instance window: the open window of type W is brought
    // forward as it stands; else `make` makes one (by default with the main window as parent),
    // which belongs to the open project's session. Null when `make` gives none.
    template <class W, class Make>
    W* open(Make make) {
        W* window = m_session->findOrMake<W>(make);
        if (window)
            present(window);
        return window;
    }
    template <class W>
    W* open() {
        return open<W>([this] { return new W(*this, mainWindow()); });
    }
    // The window of type W of the open project when it exists, else null. Never creates one.
    template <class W>
    W* existing() const {
        return m_session->find<W>();
    }

    // Reads the rainfall table the project file records into the session's
    // CurrentIntensityTable (the table every solve and Tc uses), whose title-bearing windows
    // follow. A project that records none leaves it as it is.
    void refreshIntensityTable();

    // Runs a command; a core Error (or any exception) becomes an "Error" message box instead of
    // ending the program. True when the command ran through.
    bool guard(QWidget* parent, const std::function<void()>& command);

    // Shows a modeless window and brings it forward.
    static void present(QWidget* window);

    // Commands that other windows ask of the main window, which sets them. Tests set their own.
    std::function<void()> onOpenCanvas;          // put ProjectPath on the canvas
    std::function<void()> onShowIntensityEditor; // show the rainfall table editor

signals:
    // A new session started (New, Open, Close): whoever follows the session reconnects.
    void sessionStarted();
    // Elements were placed, deleted or renamed: the canvas redraws from the model.
    void networkChanged();

private:
    Workspace m_workspace;
    Prompts& m_prompts;
    NetworkModel* m_network = nullptr;
    QPointer<QWidget> m_mainWindow;
    QPointer<ProjectSession> m_session;
};

} // namespace pluvane::gui
