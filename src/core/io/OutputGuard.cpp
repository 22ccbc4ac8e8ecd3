#include "core/io/OutputGuard.h"

#include "core/Error.h"
#include "core/Workspace.h"
#include "core/io/FileChecks.h"
#include "core/io/IoMessages.h"
#include "core/platform/Platform.h"
#include "core/store/ProjectDb.h"
#include "core/store/ProjectLock.h"

#include <string_view>

namespace pluvane {

namespace {

// True when `path` is a regular file that begins as every SQLite database does. The open does
// not block, so a FIFO or a device named as output is left to the writer's own refusal.
bool isDatabaseFile(const std::string& path) {
    static constexpr std::string_view kHeader{"SQLite format 3\0", 16};
    const platform::ReadResult read = platform::ReadRegularFile(path, kHeader.size(), true);
    return read.status == platform::ReadStatus::Ok && read.bytes == kHeader;
}

bool isProject(const std::string& path) {
    try {
        CheckProjectFile(path);
        return true;
    } catch (const Error&) {
        return false;
    }
}

} // namespace

void GuardOutput(const Workspace& ws, const std::string& output, OutputPurpose purpose) {
    const platform::FileKind kind = platform::KindOf(output);
    if (output.empty() || kind == platform::FileKind::Missing ||
        kind == platform::FileKind::NoAccess)
        return;
    const std::pair<std::string, std::string_view> inputs[] = {
        {ws.ProjectPath, kRoleOpenProject},
        {ws.DataFolder.empty() ? "" : ws.intensityDbPath(), kRoleRainfallDatabase},
        {ws.DataFolder.empty() ? "" : ws.templatePath(), kRoleTemplate}};
    for (const auto& [path, role] : inputs)
        if (SameFile(output, path))
            throw Error(OutputIsInputMessage(output, role, path));
    if (ProjectLock::isHeldElsewhere(output))
        throw Error(OutputHeldMessage(output));
    if (!isDatabaseFile(output))
        return;
    if (purpose == OutputPurpose::ReportOutput)
        throw Error(OutputIsDatabaseMessage(output));
    if (!isProject(output))
        throw Error(OutputNotAProjectMessage(output));
}

} // namespace pluvane
