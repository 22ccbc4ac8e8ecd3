#include "cli/PdfHelper.h"

#include "cli/CliMessages.h"
#include "core/Error.h"
#include "core/report/DocumentFile.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

extern char** environ;

namespace pluvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHelperName = "pluvane-pdf";

fs::path helperPath() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    const fs::path helper = exe.parent_path() / kHelperName;
    if (ec || !fs::is_regular_file(helper, ec))
        throw Error(std::string(kPdfHelperMissing));
    return helper;
}

// The document in a new temporary file, removed again when this goes.
class DocumentFile {
public:
    explicit DocumentFile(const RichDocument& document) {
        std::error_code ec;
        std::string name = (fs::temp_directory_path(ec) / "pluvane-report-XXXXXX").string();
        if (ec)
            name = "/tmp/pluvane-report-XXXXXX";
        const int fd = ::mkstemp(name.data());
        if (fd < 0)
            throw Error(std::string(kPdfNoTemporaryFile));
        m_path = name;
        const std::string bytes = SerializeDocument(document);
        std::size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                ::close(fd);
                throw Error(std::string(kPdfTemporaryNotWritten));
            }
            written += static_cast<std::size_t>(n);
        }
        ::close(fd);
    }
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;
    ~DocumentFile() {
        std::error_code ec;
        fs::remove(m_path, ec);
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// Runs the helper with its error output in a pipe; returns its exit status and that output.
int runHelper(const fs::path& helper, const std::string& document, const std::string& pdf,
              std::string& errors) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        throw Error(std::string(kPdfNoPipe));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    std::string program = helper.string();
    std::string documentArg = document;
    std::string pdfArg = pdf;
    std::vector<char*> argv{program.data(), documentArg.data(), pdfArg.data(), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        throw Error(std::string(kPdfHelperNotStarted));
    }
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        errors.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

} // namespace

void WritePdfThroughHelper(const RichDocument& document, const std::string& path) {
    const fs::path helper = helperPath();
    const DocumentFile file(document);
    std::string errors;
    const int status = runHelper(helper, file.path(), path, errors);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return;
    // The helper's last line is its reason (Qt may warn before it).
    while (!errors.empty() && (errors.back() == '\n' || errors.back() == '\r'))
        errors.pop_back();
    const std::size_t lastLine = errors.rfind('\n');
    const std::string reason = lastLine == std::string::npos ? errors : errors.substr(lastLine + 1);
    throw Error(reason.empty() ? std::string(kPdfHelperFailed) : reason);
}

} // namespace pluvane::cli
