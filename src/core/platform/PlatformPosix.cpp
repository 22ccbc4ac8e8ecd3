#ifndef _WIN32

#include "core/platform/Platform.h"
#include "core/platform/ReadChunks.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <system_error>

extern char** environ;

namespace pluvane::platform {

namespace fs = std::filesystem;

fs::path PathFromUtf8(std::string_view utf8) { return fs::path(utf8); }

std::string PathToUtf8(const fs::path& path) { return path.string(); }

FileKind KindOf(const std::string& path) {
    struct stat info {};
    if (path.empty())
        return FileKind::Missing;
    if (::stat(path.c_str(), &info) != 0)
        return errno == EACCES ? FileKind::NoAccess : FileKind::Missing;
    if (S_ISDIR(info.st_mode))
        return FileKind::Folder;
    return S_ISREG(info.st_mode) ? FileKind::Regular : FileKind::Other;
}

std::optional<FileId> IdentityOf(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileId{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

ReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes, bool prefixOnly) {
    ReadResult result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        result.status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
        result.reason = std::strerror(errno);
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        result.status = ReadStatus::NotRegular;
        return result;
    }
    result = ReadChunks(
        [fd](char* buffer, std::size_t size, std::string& reason) -> std::ptrdiff_t {
            for (;;) {
                const ssize_t n = ::read(fd, buffer, size);
                if (n >= 0 || errno != EINTR) {
                    if (n < 0)
                        reason = std::strerror(errno);
                    return n;
                }
            }
        },
        maxBytes, prefixOnly);
    ::close(fd);
    return result;
}

std::string CopyFileOver(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    return ec ? ec.message() : "";
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

bool FileIsReadOnly(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0;
}

bool FolderIsReadOnly(const std::string& folder) { return ::access(folder.c_str(), W_OK) != 0; }

NewFile CreateUniqueFile(const std::string& stem) {
    NewFile made;
    std::string name = stem + "XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        const int error = errno;
        made.denied = error == EACCES || error == EROFS || error == EPERM;
        made.reason = std::strerror(error);
        return made;
    }
    ::close(fd);
    made.path = name;
    return made;
}

void MatchPermissions(const std::string& file, const std::string& like) {
    struct stat existing {};
    mode_t mode = 0;
    if (::stat(like.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::chmod(file.c_str(), mode);
}

std::string MoveIntoPlace(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) == 0)
        return "";
    return std::strerror(errno);
}

LockStatus LockFileExclusive(const std::string& path, LockHandle& handle) {
    handle = kNoLock;
    // O_NONBLOCK: opening a FIFO put in the file's place must not hang.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return LockStatus::NotOpenable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? LockStatus::HeldElsewhere : LockStatus::Failed;
    }
    handle = fd;
    return LockStatus::Locked;
}

void UnlockFile(LockHandle handle) {
    if (handle == kNoLock)
        return;
    const int fd = static_cast<int>(handle);
    ::flock(fd, LOCK_UN);
    ::close(fd);
}

std::string ExecutablePath() {
    // readlink(2) itself: std::filesystem::read_symlink costs an lstat first.
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size())
        return "";
    path.resize(static_cast<std::size_t>(length));
    return path;
}

std::string SettingsFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    fs::path base;
    if (config && *config) {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && *home ? home : ".") / ".config";
    }
    return (base / "pluvane").string();
}

std::string TemporaryFolder() {
    std::error_code ec;
    const fs::path folder = fs::temp_directory_path(ec);
    return ec ? "/tmp" : folder.string();
}

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

void UseBinaryStandardOutput() {}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
    ProgramRun run;
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return run;
    ::fcntl(pipeFds[0], F_SETFD, FD_CLOEXEC);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        return run;
    }
    run.started = true;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        run.errors.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.exitedNormally = WIFEXITED(status);
    run.exitCode = run.exitedNormally ? WEXITSTATUS(status) : -1;
    return run;
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return {argv, argv + argc}; }

} // namespace pluvane::platform

#endif
