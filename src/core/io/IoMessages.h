#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pluvane {

// Every message the file checks and the safe writes give, in one place, so that the wording can
// be read and kept consistent. Shown with the title "Error". `what` names the file for the
// user, capitalised ("The file", "The project", "The report").

inline constexpr std::string_view kNoFileName = "No file name was given.";

// Checking a file before it is opened (RequireRegularFile, ReadFileLimited).
inline std::string NotReadableMessage(std::string_view what, std::string_view path) {
    return std::string(what) + " \"" + std::string(path) +
           "\" cannot be opened: it is not readable.";
}
inline std::string DoesNotExistMessage(std::string_view what, std::string_view path) {
    return std::string(what) + " \"" + std::string(path) +
           "\" cannot be opened: it does not exist.";
}
inline std::string IsFolderMessage(std::string_view what, std::string_view path) {
    return std::string(what) + " \"" + std::string(path) + "\" is a folder, not a file.";
}
inline std::string NotRegularFileMessage(std::string_view what, std::string_view path) {
    return std::string(what) + " \"" + std::string(path) +
           "\" is not a regular file (a pipe or a device); it cannot be used.";
}
inline std::string ReadMissingMessage(std::string_view path) {
    return "The file \"" + std::string(path) +
           "\" cannot be read: it does not exist or is not readable.";
}
// `reason` is the system's text (strerror).
inline std::string ReadFailedMessage(std::string_view path, std::string_view reason) {
    return "The file \"" + std::string(path) + "\" cannot be read: " + std::string(reason) + ".";
}
inline std::string NotRegularReadMessage(std::string_view path) {
    return "The file \"" + std::string(path) + "\" is not a regular file; it cannot be read.";
}
inline std::string ReadTooLargeMessage(std::string_view path, std::size_t megabytes) {
    return "The file \"" + std::string(path) + "\" is larger than " + std::to_string(megabytes) +
           " MB, too large for a table Pluvane reads.";
}

// Why a file cannot be written, as a clause to go after a colon (WriteObstacle).
inline constexpr std::string_view kFileIsReadOnly = "the file is read-only";
inline std::string FolderReadOnlyMessage(std::string_view folder) {
    return "the folder \"" + std::string(folder) + "\" is read-only";
}

// Writing to a temporary file and renaming it into place (AtomicFile).
inline constexpr std::string_view kDiskFull =
    "the disk is full; any file of that name was left as it was";
inline std::string PathIsFolderMessage(std::string_view path) {
    return "\"" + std::string(path) + "\" is a folder; choose a file name.";
}
inline std::string FolderMissingMessage(std::string_view what, std::string_view path,
                                        std::string_view folder) {
    return std::string(what) + " \"" + std::string(path) + "\" cannot be written: the folder \"" +
           std::string(folder) + "\" does not exist.";
}
// `reason` is a clause: the system's text (strerror) or FolderReadOnlyMessage.
inline std::string NotWritableMessage(std::string_view what, std::string_view path,
                                      std::string_view reason) {
    return std::string(what) + " \"" + std::string(path) +
           "\" cannot be written: " + std::string(reason) + ".";
}

// Refusing an output before anything is written (GuardOutput). `role` is one of the three below.
inline constexpr std::string_view kRoleOpenProject = "the project";
inline constexpr std::string_view kRoleRainfallDatabase = "the rainfall intensity database";
inline constexpr std::string_view kRoleTemplate = "the project template";
inline std::string OutputIsInputMessage(std::string_view output, std::string_view role,
                                        std::string_view path) {
    return "The output file \"" + std::string(output) + "\" is " + std::string(role) + " (\"" +
           std::string(path) + "\"); choose another file name. Nothing was written.";
}
inline std::string OutputHeldMessage(std::string_view output) {
    return "The output file \"" + std::string(output) +
           "\" is a project open in another Pluvane window; choose another file name. Nothing "
           "was written.";
}
inline std::string OutputIsDatabaseMessage(std::string_view output) {
    return "The output file \"" + std::string(output) +
           "\" is a database (a project or a rainfall table); choose another file name. Nothing "
           "was written.";
}
inline std::string OutputNotAProjectMessage(std::string_view output) {
    return "The file \"" + std::string(output) +
           "\" is a database that is not a Pluvane project; it is not replaced. Nothing was "
           "written.";
}

} // namespace pluvane
