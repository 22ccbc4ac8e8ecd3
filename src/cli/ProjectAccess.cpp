#include "cli/ProjectAccess.h"

#include "cli/CliMessages.h"
#include "core/Error.h"
#include "core/Workspace.h"
#include "core/io/FileChecks.h"
#include "core/store/ProjectDb.h"

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
