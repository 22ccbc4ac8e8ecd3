#ifdef _WIN32

#include "core/platform/Platform.h"
#include "core/platform/ReadChunks.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cwchar>
#include <random>
#include <system_error>

namespace pluvane::platform {

namespace fs = std::filesystem;

namespace {

std::wstring wide(const std::string& utf8) { return PathFromUtf8(utf8).wstring(); }

std::string narrow(const wchar_t* text) { return PathToUtf8(fs::path(text)); }

std::string systemText(DWORD error) {
    std::string text = std::system_category().message(static_cast<int>(error));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.'))
        text.pop_back();
    return text;
}

HANDLE openForReading(const std::string& path) {
    // Shared every way, as a POSIX open is: the lock's handle and SQLite's may be open too.
    return ::CreateFileW(
        wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool isRegular(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileType(handle) == FILE_TYPE_DISK && ::GetFileInformationByHandle(handle, &info) &&
           !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The lock's byte: far past any project's end, below the largest offset every file system takes.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

} // namespace

fs::path PathFromUtf8(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

FileKind KindOf(const std::string& path) {
    if (path.empty())
        return FileKind::Missing;
    const DWORD attributes = ::GetFileAttributesW(wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ::GetLastError() == ERROR_ACCESS_DENIED ? FileKind::NoAccess : FileKind::Missing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return FileKind::Folder;
    // Devices ("NUL", "CON") answer attributes too; only a disk file is regular.
    const HANDLE handle = openForReading(path);
    if (handle == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_ACCESS_DENIED ? FileKind::NoAccess : FileKind::Other;
    const bool regular = isRegular(handle);
    ::CloseHandle(handle);
    return regular ? FileKind::Regular : FileKind::Other;
}

std::optional<FileId> IdentityOf(const std::string& path) {
    if (path.empty())
        return std::nullopt;
    const HANDLE handle = openForReading(path);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(handle, &info);
    ::CloseHandle(handle);
    if (!known)
        return std::nullopt;
    return FileId{info.dwVolumeSerialNumber,
                  (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

ReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes, bool prefixOnly) {
    ReadResult result;
    const HANDLE handle = openForReading(path);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        result.status = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                            ? ReadStatus::Missing
                            : ReadStatus::Failed;
        result.reason = systemText(error);
        return result;
    }
    if (!isRegular(handle)) {
        ::CloseHandle(handle);
        result.status = ReadStatus::NotRegular;
        return result;
    }
    result = ReadChunks(
        [handle](char* buffer, std::size_t size, std::string& reason) -> std::ptrdiff_t {
            DWORD n = 0;
            if (!::ReadFile(handle, buffer, static_cast<DWORD>(size), &n, nullptr)) {
                reason = systemText(::GetLastError());
                return -1;
            }
            return static_cast<std::ptrdiff_t>(n);
        },
        maxBytes, prefixOnly);
    ::CloseHandle(handle);
    return result;
}

std::string CopyFileOver(const std::string& from, const std::string& to) {
    // std::filesystem::copy_file refuses an existing target here even when told to overwrite.
    if (::CopyFileW(wide(from).c_str(), wide(to).c_str(), FALSE))
        return "";
    return systemText(::GetLastError());
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return ::_wfopen(wide(path).c_str(), PathFromUtf8(mode).wstring().c_str());
}

bool FileIsReadOnly(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_READONLY);
}

bool FolderIsReadOnly(const std::string& folder) {
    // A folder's read-only attribute means nothing on Windows; only trying tells.
    const NewFile probe = CreateUniqueFile(PathToUtf8(PathFromUtf8(folder) / ".pluvane-probe-"));
    if (probe.path.empty())
        return probe.denied;
    ::DeleteFileW(wide(probe.path).c_str());
    return false;
}

NewFile CreateUniqueFile(const std::string& stem) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<int> pick(0, sizeof kLetters - 2);
    NewFile made;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = stem;
        for (int i = 0; i < 6; ++i)
            name += kLetters[pick(random)];
        const HANDLE handle = ::CreateFileW(wide(name).c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle);
            made.path = name;
            return made;
        }
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
            continue;
        made.denied = error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT;
        made.reason = systemText(error);
        return made;
    }
    made.reason = systemText(ERROR_FILE_EXISTS);
    return made;
}

void MatchPermissions(const std::string&, const std::string&) {}

std::string MoveIntoPlace(const std::string& from, const std::string& to) {
    // MoveFileEx replaces a closed file in one step (within a volume, as the sibling is).
    if (::MoveFileExW(wide(from).c_str(), wide(to).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return "";
    return systemText(::GetLastError());
}

LockStatus LockFileExclusive(const std::string& path, LockHandle& handle) {
    handle = kNoLock;
    const HANDLE file = openForReading(path);
    if (file == INVALID_HANDLE_VALUE)
        return LockStatus::NotOpenable;
    OVERLAPPED where{};
    where.Offset = 0;
    where.OffsetHigh = kLockOffsetHigh;
    if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where)) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(file);
        return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING
                   ? LockStatus::HeldElsewhere
                   : LockStatus::Failed;
    }
    handle = reinterpret_cast<LockHandle>(file);
    return LockStatus::Locked;
}

void UnlockFile(LockHandle handle) {
    if (handle == kNoLock)
        return;
    const HANDLE file = reinterpret_cast<HANDLE>(handle);
    OVERLAPPED where{};
    where.OffsetHigh = kLockOffsetHigh;
    ::UnlockFileEx(file, 0, 1, 0, &where);
    ::CloseHandle(file);
}

std::string ExecutablePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return "";
        if (n < buffer.size()) {
            buffer.resize(n);
            return narrow(buffer.c_str());
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string SettingsFolder() {
    const wchar_t* appData = ::_wgetenv(L"APPDATA");
    const fs::path base = appData && *appData ? fs::path(appData) : fs::current_path();
    return PathToUtf8(base / "pluvane");
}

std::string TemporaryFolder() {
    std::error_code ec;
    const fs::path folder = fs::temp_directory_path(ec);
    return ec ? PathToUtf8(fs::current_path()) : PathToUtf8(folder);
}

bool StandardErrorIsTerminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

void UseBinaryStandardOutput() {
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

namespace {

// One argument quoted as CommandLineToArgvW reads it back.
std::wstring quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    out += L'"';
    return out;
}

} // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
    ProgramRun run;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return run;
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::wstring commandLine = quoted(wide(program));
    for (const std::string& argument : arguments)
        commandLine += L" " + quoted(wide(argument));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    const bool started =
        ::CreateProcessW(wide(program).c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                         CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    ::CloseHandle(writeEnd);
    if (!started) {
        ::CloseHandle(readEnd);
        return run;
    }
    run.started = true;
    char buffer[4096];
    DWORD n = 0;
    while (::ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0)
        run.errors.append(buffer, n);
    ::CloseHandle(readEnd);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    run.exitedNormally = true;
    run.exitCode = static_cast<int>(code);
    return run;
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!words)
        return {argv, argv + argc};
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(narrow(words[i]));
    ::LocalFree(words);
    return arguments;
}

} // namespace pluvane::platform

#endif
