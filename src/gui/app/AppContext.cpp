#include "gui/app/AppContext.h"

#include "core/Error.h"
#include "core/network/NetworkModel.h"
#include "core/settings/ProjectSettings.h"

namespace pluvane::gui {

AppContext::AppContext(Workspace workspace, Prompts& prompts, QObject* parent)
    : QObject(parent), m_workspace(std::move(workspace)), m_prompts(prompts),
      m_session(new ProjectSession(this)) {}

void AppContext::endSession() {
    ProjectSession* ending = m_session;
    // The fresh session first: a window closing now that asks for another finds no way back
    // into the project being left.
    m_session = new ProjectSession(this);
    // Until another project records its own, the rainfall editor offers the table last used.
    m_session->setCurrentIntensityTable(ending->CurrentIntensityTable());
    emit ending->ending();
    ending->closeWindows();
    ending->releaseLock();
    ending->deleteLater();
    if (m_network)
        m_network->SelectedElement.reset(); // nothing stays selected in the project left
    emit sessionStarted();
}

void AppContext::refreshIntensityTable() {
    if (m_workspace.ProjectPath.empty())
        return;
    try {
        if (const std::optional<std::string> recorded = RecordedIntensityTable(m_workspace))
            m_session->setCurrentIntensityTable(*recorded);
    } catch (const std::exception&) {
        // Unreadable: the solve that follows reads the file itself and says why.
    }
}

bool AppContext::guard(QWidget* parent, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const Error& e) {
        m_prompts.message(parent, QString::fromStdString(e.title()),
                          QString::fromStdString(e.what()), Prompts::Icon::Exclamation);
    } catch (const std::exception& e) {
        m_prompts.message(parent, "Error", QString("Unexpected error: %1").arg(e.what()),
                          Prompts::Icon::Critical);
    }
    return false;
}

void AppContext::present(QWidget* window) {
    ProjectSession::markShown(window);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace pluvane::gui
