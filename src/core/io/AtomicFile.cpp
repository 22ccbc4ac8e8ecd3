#include "core/io/AtomicFile.h"

#include "core/Error.h"
#include "core/io/FileChecks.h"
#include "core/io/IoMessages.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace pluvane {

namespace fs = std::filesystem;

namespace {

fs::path folderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

void removeQuietly(const std::string& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
}

} // namespace

std::string CreateSiblingTempFile(const std::string& path, const std::string& what) {
    if (path.empty())
        throw Error(std::string(kNoFileName));
    const fs::path target(path);
    std::error_code ec;
    if (fs::is_directory(target, ec))
        throw Error(PathIsFolderMessage(path));
    const fs::path folder = folderOf(target);
    if (!fs::is_directory(folder, ec))
        throw Error(FolderMissingMessage(what, path, folder.string()));
    const std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        const int error = errno;
        if (error == EACCES || error == EROFS || error == EPERM)
            throw Error(NotWritableMessage(what, path, FolderReadOnlyMessage(folder.string())));
        throw Error(NotWritableMessage(what, path, std::strerror(error)));
    }
    // mkstemp makes the file private; the finished file gets the target's mode, or the mode a
    // new file would get.
    struct stat existing {};
    mode_t mode = 0;
    if (::stat(path.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    ::close(fd);
    return std::string(name.data());
}

void ReplaceFileAtomically(const std::string& path,
                           const std::function<void(const std::string&)>& fill,
                           const std::string& what) {
    const std::string temp = CreateSiblingTempFile(path, what);
    try {
        fill(temp);
    } catch (...) {
        removeQuietly(temp);
        throw;
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        removeQuietly(temp);
        throw Error(NotWritableMessage(what, path, ec.message()));
    }
}

void WriteFileAtomically(const std::string& path, std::string_view bytes, const std::string& what) {
    ReplaceFileAtomically(
        path,
        [&](const std::string& temp) {
            std::FILE* out = std::fopen(temp.c_str(), "wb");
            if (!out)
                throw Error(NotWritableMessage(what, path, WriteErrorText(errno)));
            const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
            const int writeError = errno;
            const bool closed = std::fclose(out) == 0;
            if (!written || !closed)
                throw Error(
                    NotWritableMessage(what, path, WriteErrorText(written ? errno : writeError)));
        },
        what);
}

} // namespace pluvane
