#pragma once

#include "core/platform/Platform.h"

#include <string>

namespace pluvane {

// Holds a project file for one program instance while its drawing is open, so that a second
// instance refuses it instead of both writing to it. An advisory lock of the operating system
// (flock; a byte range lock on Windows), released on destruction and when the process ends in any way, so a crash never
// leaves a file locked. SQLite's own locks are independent of it.
class ProjectLock {
public:
    ProjectLock() = default;
    ProjectLock(ProjectLock&& other) noexcept;
    ProjectLock& operator=(ProjectLock&& other) noexcept;
    ProjectLock(const ProjectLock&) = delete;
    ProjectLock& operator=(const ProjectLock&) = delete;
    ~ProjectLock();

    // Takes the lock on `path`; throws Error when another instance holds it or the file cannot
    // be opened.
    static ProjectLock acquire(const std::string& path);

    // True when some other holder has the file (used to check before leaving the open project).
    static bool isHeldElsewhere(const std::string& path);

    bool held() const { return m_handle != platform::kNoLock; }
    const std::string& path() const { return m_path; }
    void release();

private:
    platform::LockHandle m_handle = platform::kNoLock;
    std::string m_path;
};

} // namespace pluvane
