#include "core/io/FileChecks.h"

#include "core/Error.h"
#include "core/io/IoMessages.h"
#include "core/platform/Platform.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace pluvane {

namespace fs = std::filesystem;

void RequireRegularFile(const std::string& path, const std::string& what) {
    if (path.empty())
        throw Error(std::string(kNoFileName));
    switch (platform::KindOf(path)) {
    case platform::FileKind::Missing:
        throw Error(DoesNotExistMessage(what, path));
    case platform::FileKind::NoAccess:
        throw Error(NotReadableMessage(what, path));
    case platform::FileKind::Folder:
        throw Error(IsFolderMessage(what, path));
    case platform::FileKind::Other:
        throw Error(NotRegularFileMessage(what, path));
    case platform::FileKind::Regular:
        break;
    }
}

std::string ReadFileLimited(const std::string& path, std::size_t maxBytes) {
    const platform::FileKind kind = platform::KindOf(path);
    if (!path.empty() &&
        (kind == platform::FileKind::Missing || kind == platform::FileKind::NoAccess))
        throw Error(ReadMissingMessage(path));
    RequireRegularFile(path);
    platform::ReadResult read = platform::ReadRegularFile(path, maxBytes);
    switch (read.status) {
    case platform::ReadStatus::Ok:
        return std::move(read.bytes);
    case platform::ReadStatus::TooLarge:
        throw Error(ReadTooLargeMessage(path, maxBytes / (1024 * 1024)));
    case platform::ReadStatus::NotRegular:
        throw Error(NotRegularReadMessage(path));
    case platform::ReadStatus::Missing:
    case platform::ReadStatus::Failed:
        break;
    }
    throw Error(ReadFailedMessage(path, read.reason));
}

bool SameFile(const std::string& a, const std::string& b) {
    const auto first = platform::IdentityOf(a);
    const auto second = platform::IdentityOf(b);
    return first && second && *first == *second;
}

std::string FileIdentity(const std::string& path) {
    if (const auto id = platform::IdentityOf(path))
        return std::to_string(id->volume) + ":" + std::to_string(id->index);
    std::error_code ec;
    const fs::path normal = fs::weakly_canonical(platform::PathFromUtf8(path), ec);
    return ec ? path : platform::PathToUtf8(normal);
}

std::string WriteErrorText(int error) {
#ifdef EDQUOT
    if (error == EDQUOT)
        return std::string(kDiskFull);
#endif
    if (error == ENOSPC)
        return std::string(kDiskFull);
    return std::strerror(error);
}

std::string WriteObstacle(const std::string& path) {
    const fs::path target = platform::PathFromUtf8(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (platform::FileIsReadOnly(path))
        return std::string(kFileIsReadOnly);
    if (platform::FolderIsReadOnly(platform::PathToUtf8(folder)))
        return FolderReadOnlyMessage(platform::PathToUtf8(folder));
    return "";
}

} // namespace pluvane
