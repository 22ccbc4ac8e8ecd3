#include "app/AppContext.h"

#include "Error.h"

namespace pluvane::gui {

AppContext::AppContext(Workspace workspace, Prompts& prompts, QObject* parent)
    : QObject(parent), m_workspace(std::move(workspace)), m_prompts(prompts) {}

bool AppContext::guard(QWidget* parent, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const Error& e) {
        m_prompts.message(parent, QString::fromStdString(e.title()), QString::fromStdString(e.what()),
                          Prompts::Icon::Exclamation);
    } catch (const std::exception& e) {
        m_prompts.message(parent, "Error", QString("Unexpected error: %1").arg(e.what()),
                          Prompts::Icon::Critical);
    }
    return false;
}

void AppContext::present(QWidget* window) {
    window->setProperty("pluvaneShown", true);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace pluvane::gui
