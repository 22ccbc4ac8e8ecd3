#pragma once

#include "Workspace.h"
#include "app/Prompts.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <typeindex>

namespace pluvane {
class NetworkModel;
}

namespace pluvane::gui {

// What every window of a run shares: the Workspace, the prompts, the drawing model of the open
// project, the main window, and the single instance of each modeless window.
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

    // The one window of type W: the existing one, or a new one made by `make` on first use
    // (and again after it was closed and deleted).
    template <class W, class Make>
    W* window(Make make) {
        QPointer<QWidget>& slot = m_windows[std::type_index(typeid(W))];
        if (slot && isClosing(slot))
            slot = nullptr; // closed and waiting for deletion: the next opening starts afresh
        if (!slot)
            slot = make();
        return static_cast<W*>(slot.data());
    }
    // The window of type W when it exists, else null. Never creates one.
    template <class W>
    W* existing() const {
        const auto it = m_windows.find(std::type_index(typeid(W)));
        if (it == m_windows.end() || !it->second || isClosing(it->second))
            return nullptr;
        return static_cast<W*>(it->second.data());
    }
    // The window of type W when it exists and is shown, else null.
    template <class W>
    W* shown() const {
        W* w = existing<W>();
        return w && w->isVisible() ? w : nullptr;
    }

    // Runs a command; a core Error (or any exception) becomes an "Error" message box instead of
    // ending the program. True when the command ran through.
    bool guard(QWidget* parent, const std::function<void()>& command);

    // Shows a modeless window and brings it forward.
    static void present(QWidget* window);

    // Commands that other windows ask of the main window, which sets them. Tests set their own.
    std::function<void()> onOpenCanvas;           // put ProjectPath on the canvas
    std::function<void()> onShowIntensityEditor;  // show the rainfall table editor

signals:
    // Elements were placed, deleted or renamed: the canvas redraws from the model.
    void networkChanged();

private:
    // A window that was shown and is hidden now was closed: the program's windows delete
    // themselves on close (Qt clears WA_DeleteOnClose once it has scheduled the deletion).
    static bool isClosing(const QWidget* window) {
        return window->property("pluvaneShown").toBool() && window->isHidden();
    }

    Workspace m_workspace;
    Prompts& m_prompts;
    NetworkModel* m_network = nullptr;
    QPointer<QWidget> m_mainWindow;
    std::map<std::type_index, QPointer<QWidget>> m_windows;
};

} // namespace pluvane::gui
