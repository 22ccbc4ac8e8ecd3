#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The one home of the operating system's own calls (POSIX here, Win32 on Windows): nothing
// else in the program includes a system header. Every path crosses this boundary as UTF-8 and
// is turned into the system's form here, so a name such as "Müller-Straße.rmt" means the same
// file on both systems.
namespace pluvane::platform {

// A path from its UTF-8 text, and back; on Windows the narrow text would be read in the
// machine's code page instead.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

// What a path names, following links.
enum class FileKind { Missing, NoAccess, Regular, Folder, Other };
FileKind KindOf(const std::string& path);

// What tells two names of one file apart from two files: the device and inode here, the
// volume serial and file index on Windows (where st_ino is always 0).
struct FileId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileId&) const = default;
};
std::optional<FileId> IdentityOf(const std::string& path);

// A bounded read of a regular file in binary. The open never blocks, so a pipe put in the
// file's place is refused rather than waited on; the check is made on the open file.
enum class ReadStatus { Ok, Missing, NotRegular, TooLarge, Failed };
struct ReadResult {
    ReadStatus status = ReadStatus::Failed;
    std::string bytes;
    std::string reason; // the system's text when status is Failed
};
// Reads the whole file, or only its first `maxBytes` when `prefixOnly` (then a longer file is
// no fault).
ReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes, bool prefixOnly = false);

// Copies the bytes of `from` over the existing file `to`; the system's reason on failure, ""
// on success.
std::string CopyFileOver(const std::string& from, const std::string& to);

// Opens a file with a C stdio mode ("wb", "rb").
std::FILE* OpenFile(const std::string& path, const char* mode);

// True when the file exists and may not be written, or the folder may not be written into.
bool FileIsReadOnly(const std::string& path);
bool FolderIsReadOnly(const std::string& folder);

// A new, empty file named `stem` plus six random characters, made only if no such file
// exists; "" and the reason when none could be made (`denied`: the folder refuses it).
struct NewFile {
    std::string path;
    bool denied = false;
    std::string reason;
};
NewFile CreateUniqueFile(const std::string& stem);

// Gives `file` the permissions of `like`, or those a new file would get when `like` does not
// exist (a fresh temporary file is private). Windows files carry no such mode.
void MatchPermissions(const std::string& file, const std::string& like);

// Puts `from` in the place of `to` in one step, so a reader sees the old file or the new one,
// never half of one. Returns the system's reason on failure, "" on success.
std::string MoveIntoPlace(const std::string& from, const std::string& to);

// Whether a file may be replaced (MoveIntoPlace) while a handle of it is open, the lock's
// included: Windows refuses that.
#ifdef _WIN32
inline constexpr bool kReplacesOpenFiles = false;
#else
inline constexpr bool kReplacesOpenFiles = true;
#endif

// An exclusive advisory lock on a file, held by one open handle; another handle (in this
// process or another) is refused. On Windows the lock covers one byte far past the end of the
// file, so SQLite's own reads and writes of the file are never blocked by it.
using LockHandle = std::intptr_t;
inline constexpr LockHandle kNoLock = -1;
enum class LockStatus { Locked, HeldElsewhere, NotOpenable, Failed };
LockStatus LockFileExclusive(const std::string& path, LockHandle& handle);
void UnlockFile(LockHandle handle);

// The running program's own file, "" when the system does not say.
std::string ExecutablePath();

// The folder of the user's settings: $XDG_CONFIG_HOME/pluvane (else ~/.config/pluvane) here,
// %APPDATA%\pluvane on Windows.
std::string SettingsFolder();

// The folder for temporary files.
std::string TemporaryFolder();

// True when the standard error output is a terminal (a progress line may be drawn there).
bool StandardErrorIsTerminal();

// Writes the standard output and error as the bytes given: Windows would turn each line end
// into CR LF, so reports and exports piped to a file would differ between the systems.
void UseBinaryStandardOutput();

// Runs `program` with `arguments`, waits for it and collects its error output.
struct ProgramRun {
    bool started = false;
    bool exitedNormally = false;
    int exitCode = -1;
    std::string errors;
};
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments);

// The command line's arguments as UTF-8 (Windows hands main() the code page's form).
std::vector<std::string> Utf8Arguments(int argc, char** argv);

} // namespace pluvane::platform
