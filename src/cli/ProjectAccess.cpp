#include "ProjectAccess.h"

#include "CliMessages.h"
#include "Error.h"
#include "Workspace.h"
#include "io/FileChecks.h"
#include "store/ProjectDb.h"

namespace pluvane::cli {

ProjectLock LockProjectForWriting(const std::string& path) {
    CheckProjectFile(path);
    return ProjectLock::acquire(path);
}

void RefuseOutputOverInput(const Workspace& ws, const std::string& output) {
    const std::pair<std::string, const char*> inputs[] = {
        {ws.ProjectPath, "the project"},
        {ws.intensityDbPath(), "the rainfall intensity database"},
        {ws.templatePath(), "the project template"}};
    for (const auto& [path, role] : inputs)
        if (SameFile(output, path))
            throw Error(OutputIsInputMessage(output, role, path));
}

} // namespace pluvane::cli
