#include "cli/PdfHelper.h"

#include "cli/CliMessages.h"
#include "core/Error.h"
#include "core/report/DocumentFile.h"

#include "core/platform/Platform.h"

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <vector>

namespace pluvane::cli {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr std::string_view kHelperName = "pluvane-pdf.exe";
#else
constexpr std::string_view kHelperName = "pluvane-pdf";
#endif

fs::path helperPath() {
    const fs::path exe = platform::PathFromUtf8(platform::ExecutablePath());
    const fs::path helper = exe.parent_path() / kHelperName;
    std::error_code ec;
    if (exe.empty() || !fs::is_regular_file(helper, ec))
        throw Error(std::string(kPdfHelperMissing));
    return helper;
}

// The document in a new temporary file, removed again when this goes.
class DocumentFile {
public:
    explicit DocumentFile(const RichDocument& document) {
        const platform::NewFile made = platform::CreateUniqueFile(platform::PathToUtf8(
            platform::PathFromUtf8(platform::TemporaryFolder()) / "pluvane-report-"));
        if (made.path.empty())
            throw Error(std::string(kPdfNoTemporaryFile));
        m_path = made.path;
        const std::string bytes = SerializeDocument(document);
        std::FILE* out = platform::OpenFile(m_path, "wb");
        const bool written = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
        if ((out && std::fclose(out) != 0) || !written)
            throw Error(std::string(kPdfTemporaryNotWritten));
    }
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;
    ~DocumentFile() {
        std::error_code ec;
        fs::remove(platform::PathFromUtf8(m_path), ec);
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace

void WritePdfThroughHelper(const RichDocument& document, const std::string& path) {
    const fs::path helper = helperPath();
    const DocumentFile file(document);
    platform::ProgramRun run =
        platform::RunProgram(platform::PathToUtf8(helper), {file.path(), path});
    if (!run.started)
        throw Error(std::string(kPdfHelperNotStarted));
    if (run.exitedNormally && run.exitCode == 0)
        return;
    // The helper's last line is its reason (Qt may warn before it).
    std::string& errors = run.errors;
    while (!errors.empty() && (errors.back() == '\n' || errors.back() == '\r'))
        errors.pop_back();
    const std::size_t lastLine = errors.rfind('\n');
    const std::string reason = lastLine == std::string::npos ? errors : errors.substr(lastLine + 1);
    throw Error(reason.empty() ? std::string(kPdfHelperFailed) : reason);
}

} // namespace pluvane::cli
