#pragma once

#include "core/store/ProjectLock.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <map>
#include <string>
#include <typeindex>
#include <vector>

namespace pluvane::gui {

// One open project as the desktop program sees it: the file's lock while its drawing is open,
// the rainfall table the project records, and every window opened for it (element dialogs,
// calculators, node, setup, pickers, rainfall editor, report, IDF curves). A window belongs to
// the session it was opened in; when the project changes (New, Open, Close, Exit) the session
// ends, its windows close, and nothing opened for one project can act on the next.
class ProjectSession : public QObject {
    Q_OBJECT
public:
    explicit ProjectSession(QObject* parent = nullptr) : QObject(parent) {}

    // The one window of type W in this session, else null. A window that was closed and waits
    // for its deletion no longer counts.
    template <class W>
    W* find() const {
        const auto it = m_windows.find(std::type_index(typeid(W)));
        if (it == m_windows.end() || !it->second || isClosing(it->second))
            return nullptr;
        return static_cast<W*>(it->second.data());
    }
    // The one window of type W: the existing one, else a new one made by `make` and kept as
    // this session's.
    template <class W, class Make>
    W* findOrMake(Make make) {
        if (W* open = find<W>())
            return open;
        W* made = make();
        m_windows[std::type_index(typeid(W))] = made;
        return made;
    }
    // A window of the project that is not the single one of its kind (the IDF curves of a
    // report): it closes with the session too.
    void adopt(QWidget* window) { m_others.emplace_back(window); }

    // Closes every window of the session without asking: the element dialogs' typed values
    // belong to the project being left; the rainfall editor's were asked about before
    // (FrmIntensityTable::mayLeaveProject).
    void closeWindows();

    // The lock of the project file while its drawing is open.
    void holdLock(ProjectLock lock) { m_lock = std::move(lock); }
    void releaseLock() { m_lock.release(); }
    const ProjectLock& lock() const { return m_lock; }

    // The project's rainfall table, as its file recorded it when last read or written (empty:
    // none yet): the table of the sheet-flow Calculate, the review notes, the rainfall editor
    // and every title. A change is announced by intensityTableChanged.
    const std::string& CurrentIntensityTable() const { return m_currentIntensityTable; }
    void setCurrentIntensityTable(const std::string& name);

    // Why the project file cannot be written ("" when it can): set when the canvas opens it, so
    // that the edit commands are disabled from the start and say why.
    const QString& readOnlyReason() const { return m_readOnlyReason; }
    bool readOnly() const { return !m_readOnlyReason.isEmpty(); }
    void setReadOnlyReason(const QString& reason);

    // A Solve built its report: the 100-year peak flow of its result (NaN when the solve could
    // not run; the report says why).
    void reportSolved(double q100) { emit solved(q100); }

    // True while the window is being closed because its project is left.
    static bool isLeaving(const QWidget* window) {
        return window->property("pluvaneLeaving").toBool();
    }
    // Marks (or, when leaving was given up, unmarks) a window as closing with its project.
    static void markLeaving(QWidget* window, bool leaving) {
        window->setProperty("pluvaneLeaving", leaving);
    }
    // Marks a window as shown once, so that a later hide counts as closed.
    static void markShown(QWidget* window) { window->setProperty("pluvaneShown", true); }

signals:
    // The recorded table changed: titles that name it follow.
    void intensityTableChanged(const QString& name);
    // The session is ending, before its windows close (the canvas lets go of what it kept for
    // this project, its undo history for one).
    void ending();
    void readOnlyChanged(bool readOnly);
    void solved(double q100);

private:
    // A window that was shown and is hidden now was closed: the program's windows delete
    // themselves on close (Qt clears WA_DeleteOnClose once it has scheduled the deletion).
    static bool isClosing(const QWidget* window) {
        return window->property("pluvaneShown").toBool() && window->isHidden();
    }

    std::map<std::type_index, QPointer<QWidget>> m_windows;
    std::vector<QPointer<QWidget>> m_others;
    ProjectLock m_lock;
    std::string m_currentIntensityTable;
    QString m_readOnlyReason;
};

} // namespace pluvane::gui
