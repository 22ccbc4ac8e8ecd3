#include "core/store/ProjectLock.h"

#include "core/Error.h"
#include "core/io/FileChecks.h"
#include "core/store/StoreMessages.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace pluvane {

ProjectLock::ProjectLock(ProjectLock&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path)) {}

ProjectLock& ProjectLock::operator=(ProjectLock&& other) noexcept {
    if (this != &other) {
        release();
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
    }
    return *this;
}

ProjectLock::~ProjectLock() { release(); }

ProjectLock ProjectLock::acquire(const std::string& path) {
    RequireRegularFile(path, "The project");
    // O_NONBLOCK: opening a FIFO put in the file's place must not hang.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw Error(ProjectNotOpenableMessage(path));
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            throw Error(ProjectOpenElsewhereMessage(path));
        throw Error(ProjectNotLockableMessage(path));
    }
    ProjectLock lock;
    lock.m_fd = fd;
    lock.m_path = path;
    return lock;
}

bool ProjectLock::isHeldElsewhere(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd); // closing drops the probe's lock if it got one
    return held;
}

void ProjectLock::release() {
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace pluvane
