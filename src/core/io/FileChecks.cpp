#include "core/io/FileChecks.h"

#include "core/Error.h"
#include "core/io/IoMessages.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace pluvane {

namespace fs = std::filesystem;

void RequireRegularFile(const std::string& path, const std::string& what) {
    if (path.empty())
        throw Error(std::string(kNoFileName));
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == EACCES)
            throw Error(NotReadableMessage(what, path));
        throw Error(DoesNotExistMessage(what, path));
    }
    if (S_ISDIR(info.st_mode))
        throw Error(IsFolderMessage(what, path));
    if (!S_ISREG(info.st_mode))
        throw Error(NotRegularFileMessage(what, path));
}

std::string ReadFileLimited(const std::string& path, std::size_t maxBytes) {
    struct stat found {};
    if (!path.empty() && ::stat(path.c_str(), &found) != 0)
        throw Error(ReadMissingMessage(path));
    RequireRegularFile(path);
    // O_NONBLOCK: a FIFO swapped in after the check must not hang the read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw Error(ReadFailedMessage(path, std::strerror(errno)));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw Error(NotRegularReadMessage(path));
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            throw Error(ReadFailedMessage(path, std::strerror(error)));
        }
        if (n == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
        if (text.size() > maxBytes) {
            ::close(fd);
            throw Error(ReadTooLargeMessage(path, maxBytes / (1024 * 1024)));
        }
    }
    ::close(fd);
    return text;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    if (a.empty() || b.empty() || ::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::string FileIdentity(const std::string& path) {
    struct stat info {};
    if (!path.empty() && ::stat(path.c_str(), &info) == 0)
        return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
    std::error_code ec;
    const fs::path normal = fs::weakly_canonical(path, ec);
    return ec ? path : normal.string();
}

std::string WriteErrorText(int error) {
    if (error == ENOSPC || error == EDQUOT)
        return std::string(kDiskFull);
    return std::strerror(error);
}

std::string WriteObstacle(const std::string& path) {
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0)
        return std::string(kFileIsReadOnly);
    if (::access(folder.c_str(), W_OK) != 0)
        return FolderReadOnlyMessage(folder.string());
    return "";
}

} // namespace pluvane
