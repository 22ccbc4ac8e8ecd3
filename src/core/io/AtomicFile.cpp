#include "core/io/AtomicFile.h"

#include "core/Error.h"
#include "core/io/FileChecks.h"
#include "core/io/IoMessages.h"
#include "core/platform/Platform.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace pluvane {

namespace fs = std::filesystem;

namespace {

fs::path folderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

void removeQuietly(const std::string& path) {
    std::error_code ignored;
    fs::remove(platform::PathFromUtf8(path), ignored);
}

} // namespace

std::string CreateSiblingTempFile(const std::string& path, const std::string& what) {
    if (path.empty())
        throw Error(std::string(kNoFileName));
    const fs::path target = platform::PathFromUtf8(path);
    std::error_code ec;
    if (fs::is_directory(target, ec))
        throw Error(PathIsFolderMessage(path));
    const fs::path folder = folderOf(target);
    const std::string folderText = platform::PathToUtf8(folder);
    if (!fs::is_directory(folder, ec))
        throw Error(FolderMissingMessage(what, path, folderText));
    const platform::NewFile made = platform::CreateUniqueFile(platform::PathToUtf8(
        folder / platform::PathFromUtf8("." + platform::PathToUtf8(target.filename()) + ".")));
    if (made.path.empty())
        throw Error(NotWritableMessage(
            what, path, made.denied ? FolderReadOnlyMessage(folderText) : made.reason));
    // A new unique file is private; the finished file gets the target's mode, or the mode a
    // new file would get.
    platform::MatchPermissions(made.path, path);
    return made.path;
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
    const std::string failure = platform::MoveIntoPlace(temp, path);
    if (!failure.empty()) {
        removeQuietly(temp);
        throw Error(NotWritableMessage(what, path, failure));
    }
}

void WriteFileAtomically(const std::string& path, std::string_view bytes, const std::string& what) {
    ReplaceFileAtomically(
        path,
        [&](const std::string& temp) {
            std::FILE* out = platform::OpenFile(temp, "wb");
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
