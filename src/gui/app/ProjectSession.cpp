#include "gui/app/ProjectSession.h"

namespace pluvane::gui {

void ProjectSession::closeWindows() {
    // Copied first: a closing window may open or close others on its way out.
    std::vector<QPointer<QWidget>> windows = m_others;
    for (const auto& [type, window] : m_windows)
        windows.push_back(window);
    m_windows.clear();
    m_others.clear();
    for (const QPointer<QWidget>& window : windows) {
        if (!window)
            continue;
        window->setAttribute(Qt::WA_DeleteOnClose);
        markLeaving(window, true);
        window->close();
        if (window && !window->isHidden()) {
            window->hide(); // a window that refused to close still leaves the project
            window->deleteLater();
        }
    }
}

void ProjectSession::setCurrentIntensityTable(const std::string& name) {
    if (name == m_currentIntensityTable)
        return;
    m_currentIntensityTable = name;
    emit intensityTableChanged(QString::fromStdString(name));
}

void ProjectSession::setReadOnlyReason(const QString& reason) {
    if (reason == m_readOnlyReason)
        return;
    m_readOnlyReason = reason;
    emit readOnlyChanged(readOnly());
}

} // namespace pluvane::gui
