// The one check before every write: nothing is written over a file the command did not ask to
// replace, whatever name reaches it.
#include "TestSupport.h"
#include "core/io/OutputGuard.h"
#include "core/store/Database.h"
#include "core/store/ProjectDb.h"
#include "core/store/ProjectLock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace pluvane;
using namespace pluvane::test;
namespace fs = std::filesystem;

namespace {

enum class Name { Path, SymbolicLink, HardLink };

struct GuardRow {
    const char* label;
    const char* target; // a file of the folder MakeWorkspace fills, or one the test makes
    Name name;
    OutputPurpose purpose;
    const char* refusal; // a part of the message; "" when the write may go ahead
};

const GuardRow kGuardRows[] = {
    {"rain_by_path", "intensity.mdb", Name::Path, OutputPurpose::ReportOutput,
     "is the rainfall intensity database"},
    {"rain_by_link", "intensity.mdb", Name::SymbolicLink, OutputPurpose::ReportOutput,
     "is the rainfall intensity database"},
    {"rain_replaced", "intensity.mdb", Name::HardLink, OutputPurpose::ReplaceProject,
     "is the rainfall intensity database"},
    {"template_by_hard_link", "empty.mdb", Name::HardLink, OutputPurpose::ReplaceProject,
     "is the project template"},
    {"open_project", "project.rmt", Name::SymbolicLink, OutputPurpose::ReplaceProject,
     "is the project ("},
    {"held_project", "held.rmt", Name::Path, OutputPurpose::ReplaceProject,
     "open in another Pluvane window"},
    {"other_project_as_report", "other.rmt", Name::HardLink, OutputPurpose::ReportOutput,
     "is a database"},
    {"other_project_replaced", "other.rmt", Name::Path, OutputPurpose::ReplaceProject, ""},
    {"other_database_replaced", "other.db", Name::SymbolicLink, OutputPurpose::ReplaceProject,
     "not a Pluvane project"},
    {"text_file", "notes.txt", Name::Path, OutputPurpose::ReportOutput, ""},
    {"new_file", "absent.rtf", Name::Path, OutputPurpose::ReportOutput, ""},
};

class GuardTest : public ::testing::TestWithParam<GuardRow> {};

std::string digest(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

TEST_P(GuardTest, RefusesBeforeWritingWhatWasNotAsked) {
    const GuardRow& row = GetParam();
#ifdef _WIN32
    if (row.name == Name::SymbolicLink)
        GTEST_SKIP() << "needs POSIX: a symbolic link (a privilege on Windows)";
#endif
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    fs::copy_file(ws.ProjectPath, folder.file("held.rmt"));
    fs::copy_file(ws.ProjectPath, folder.file("other.rmt"));
    Database::open(folder.file("other.db"), Database::Mode::Create).exec("CREATE TABLE t (x)");
    WriteFile(folder, "notes.txt", "notes");
    const ProjectLock held = ProjectLock::acquire(folder.file("held.rmt"));

    const std::string target = folder.file(row.target);
    std::string output = target;
    if (row.name == Name::SymbolicLink) {
        output = folder.file("alias.out");
        fs::create_symlink(target, output);
    } else if (row.name == Name::HardLink) {
        output = folder.file("hard.out");
        fs::create_hard_link(target, output);
    }
    const std::string before = digest(target);
    const std::string message = ErrorMessageOf([&] { GuardOutput(ws, output, row.purpose); });
    if (*row.refusal == '\0') {
        EXPECT_EQ(message, "");
    } else {
        EXPECT_NE(message.find(row.refusal), std::string::npos) << message;
        EXPECT_NE(message.find("Nothing was written"), std::string::npos) << message;
    }
    EXPECT_EQ(digest(target), before);
}

INSTANTIATE_TEST_SUITE_P(Writers, GuardTest, ::testing::ValuesIn(kGuardRows),
                         [](const auto& info) { return std::string(info.param.label); });
