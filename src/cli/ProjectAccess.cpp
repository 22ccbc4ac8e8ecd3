#include "cli/ProjectAccess.h"

#include "core/io/OutputGuard.h"
#include "core/store/ProjectDb.h"

namespace pluvane::cli {

ProjectLock LockProjectForWriting(const std::string& path) {
    CheckProjectFile(path);
    return ProjectLock::acquire(path);
}

void RefuseOutputOverInput(const Workspace& ws, const std::string& output) {
    GuardOutput(ws, output, OutputPurpose::ReportOutput);
}

} // namespace pluvane::cli
