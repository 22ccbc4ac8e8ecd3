#include "gui/app/Startup.h"

#include "core/Settings.h"
#include "core/Workspace.h"

#include <QCoreApplication>

namespace pluvane::gui {

std::string FindDataFolder() {
    return LookupDataFolder(ReadInstallPathSetting(Settings::load()),
                            QCoreApplication::applicationDirPath().toStdString());
}

} // namespace pluvane::gui
