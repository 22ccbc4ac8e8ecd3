#include "core/Workspace.h"

namespace pluvane {

std::string LookupDataFolder(const std::optional<std::string>& installPath,
                             const std::string& executableDir) {
    std::string folder = installPath ? *installPath : executableDir;
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    if (folder == "/")
        folder.clear(); // "/" + "/empty.mdb" would read as "//empty.mdb"
    return folder;
}

} // namespace pluvane
