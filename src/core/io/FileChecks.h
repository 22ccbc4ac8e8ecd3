#pragma once

#include <cstddef>
#include <string>

namespace pluvane {

// Largest text file an import reads: published tables are a few kilobytes, so anything near
// this is not one (and /dev/zero never ends).
inline constexpr std::size_t kMaxImportBytes = 4u * 1024u * 1024u;

// Throws Error when `path` is not an existing regular file (a folder, a FIFO, a device), in
// words that say which. `what` names the file's role ("The project", "The file").
void RequireRegularFile(const std::string& path, const std::string& what = "The file");

// Reads a whole regular file of at most `maxBytes`; throws Error naming the file otherwise.
std::string ReadFileLimited(const std::string& path, std::size_t maxBytes = kMaxImportBytes);

// True when both paths exist and are the same file (device and inode), whatever their names.
bool SameFile(const std::string& a, const std::string& b);

// A key that is equal for two names of one file (device and inode, through symbolic and hard
// links); a path that names no file keys as its absolute, normalised self.
std::string FileIdentity(const std::string& path);

// A failed write's reason as a clause for NotWritableMessage: the system's text (strerror),
// but a full disk (or quota) says so in words and that the old file is kept.
std::string WriteErrorText(int error);

// Why `path` cannot be written, for a message: "the folder \"...\" is read-only" or "the
// file is read-only"; "" when nothing is found against it.
std::string WriteObstacle(const std::string& path);

} // namespace pluvane
