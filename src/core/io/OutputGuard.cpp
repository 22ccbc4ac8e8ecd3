#include "core/io/OutputGuard.h"

#include "core/Error.h"
#include "core/Workspace.h"
#include "core/io/FileChecks.h"
#include "core/io/IoMessages.h"
#include "core/store/ProjectDb.h"
#include "core/store/ProjectLock.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pluvane {

namespace {

// True when `path` is a regular file that begins as every SQLite database does. The open does
// not block, so a FIFO or a device named as output is left to the writer's own refusal.
bool isDatabaseFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat info {};
    char header[16] = {};
    const bool database =
        ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        ::read(fd, header, sizeof header) == static_cast<ssize_t>(sizeof header) &&
        std::memcmp(header, "SQLite format 3", sizeof header) == 0;
    ::close(fd);
    return database;
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
    struct stat found {};
    if (output.empty() || ::stat(output.c_str(), &found) != 0)
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
