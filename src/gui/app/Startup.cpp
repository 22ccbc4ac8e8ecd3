#include "app/Startup.h"

#include "Settings.h"
#include "Workspace.h"

#include <QCoreApplication>

namespace pluvane::gui {

std::string FindDataFolder() {
    return LookupDataFolder(ReadInstallPathSetting(Settings::load()),
                            QCoreApplication::applicationDirPath().toStdString());
}

} // namespace pluvane::gui
