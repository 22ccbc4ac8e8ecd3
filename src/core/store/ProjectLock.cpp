#include "core/store/ProjectLock.h"

#include "core/Error.h"
#include "core/io/FileChecks.h"
#include "core/platform/Platform.h"
#include "core/store/StoreMessages.h"

#include <utility>

namespace pluvane {

ProjectLock::ProjectLock(ProjectLock&& other) noexcept
    : m_handle(std::exchange(other.m_handle, platform::kNoLock)), m_path(std::move(other.m_path)) {}

ProjectLock& ProjectLock::operator=(ProjectLock&& other) noexcept {
    if (this != &other) {
        release();
        m_handle = std::exchange(other.m_handle, platform::kNoLock);
        m_path = std::move(other.m_path);
    }
    return *this;
}

ProjectLock::~ProjectLock() { release(); }

ProjectLock ProjectLock::acquire(const std::string& path) {
    RequireRegularFile(path, "The project");
    ProjectLock lock;
    switch (platform::LockFileExclusive(path, lock.m_handle)) {
    case platform::LockStatus::Locked:
        lock.m_path = path;
        return lock;
    case platform::LockStatus::NotOpenable:
        throw Error(ProjectNotOpenableMessage(path));
    case platform::LockStatus::HeldElsewhere:
        throw Error(ProjectOpenElsewhereMessage(path));
    case platform::LockStatus::Failed:
        break;
    }
    throw Error(ProjectNotLockableMessage(path));
}

bool ProjectLock::isHeldElsewhere(const std::string& path) {
    platform::LockHandle probe = platform::kNoLock;
    const bool held =
        platform::LockFileExclusive(path, probe) == platform::LockStatus::HeldElsewhere;
    platform::UnlockFile(probe); // drops the probe's lock if it got one
    return held;
}

void ProjectLock::release() {
    platform::UnlockFile(m_handle);
    m_handle = platform::kNoLock;
}

} // namespace pluvane
