// The whole text of each file and database refusal, condition by condition: the other tests
// look for a few words, these check that each condition reaches its own message, with the
// file's role and path in their places.
#include "TestSupport.h"
#include "core/ElementKind.h"
#include "core/io/AtomicFile.h"
#include "core/io/FileChecks.h"
#include "core/store/Database.h"
#include "core/store/IntensityDb.h"
#include "core/store/ProjectDb.h"
#include "core/store/ProjectLock.h"
#include "core/store/RowSnapshot.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>
#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace pluvane;
using namespace pluvane::test;

namespace {

struct Refusal {
    const char* condition;
    // Given the test folder (with a slash at its end), runs the refused action.
    std::function<void(const std::string& dir, Workspace& ws)> action;
    // The expected message; "@" stands for the test folder with the system's separator, "%"
    // for the data folder as the workspace joins it.
    const char* message;
    bool needsFifo = false; // Windows has none: skipped there
};

void makeFifo([[maybe_unused]] const std::string& path) {
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
#endif
}

const Refusal kRefusals[] = {
    {"an empty file name", [](auto&, auto&) { RequireRegularFile(""); }, "No file name was given."},
    {"a missing project", [](auto& d, auto&) { RequireRegularFile(d + "x.rmt", "The project"); },
     "The project \"@x.rmt\" cannot be opened: it does not exist."},
    {"a folder", [](auto& d, auto&) { RequireRegularFile(d + "."); },
     "The file \"@.\" is a folder, not a file."},
    {"a pipe",
     [](auto& d, auto&) {
         makeFifo(d + "p");
         RequireRegularFile(d + "p");
     },
     "The file \"@p\" is not a regular file (a pipe or a device); it cannot be used.", true},
    {"a missing table file", [](auto& d, auto&) { ReadFileLimited(d + "t.csv"); },
     "The file \"@t.csv\" cannot be read: it does not exist or is not readable."},
    {"a table file over the limit",
     [](auto& d, auto&) {
         WriteFileAtomically(d + "big.csv", std::string(1024 * 1024 + 1, ','));
         ReadFileLimited(d + "big.csv", 1024 * 1024);
     },
     "The file \"@big.csv\" is larger than 1 MB, too large for a table Pluvane reads."},
    {"a folder as the output", [](auto& d, auto&) { CreateSiblingTempFile(d + "."); },
     "\"@.\" is a folder; choose a file name."},
    {"an output in a missing folder",
     [](auto& d, auto&) { CreateSiblingTempFile(d + "no/r.rtf", "The report"); },
     "The report \"@no/r.rtf\" cannot be written: the folder \"@no\" does not exist."},
    {"a text file opened as a database",
     [](auto& d, auto&) {
         WriteFileAtomically(d + "n.rmt", std::string(1024, 'x'));
         Database::open(d + "n.rmt", Database::Mode::ReadWrite).exec("SELECT * FROM sqlite_master");
     },
     "The file \"@n.rmt\" is not a database."},
    {"no project", [](auto&, auto&) { OpenProjectDb(Workspace{}); }, "No project is open."},
    {"the rainfall database as a project",
     [](auto& d, auto& ws) {
         ws.ProjectPath = d + "intensity.mdb";
         OpenProjectDb(ws);
     },
     "The file \"@intensity.mdb\" is not a Pluvane project: the table TblProjectInfo is "
     "missing."},
    {"a missing template",
     [](auto& d, auto& ws) {
         std::filesystem::remove(ws.templatePath());
         CreateProjectFromTemplate(ws, d + "new.rmt");
     },
     "The project template \"%empty.mdb\" is missing; the new project was not created."},
    {"an empty location name", [](auto&, auto&) { CheckLocationName(" "); },
     "Please enter a name for the rainfall table."},
    {"a location name of 256 bytes", [](auto&, auto&) { CheckLocationName(std::string(256, 'a')); },
     "The rainfall table name is too long (at most 255 characters)."},
    {"a tab in a location name", [](auto&, auto&) { CheckLocationName("a\tb"); },
     "The rainfall table name must not contain control characters."},
    {"the list table's name", [](auto&, auto&) { CheckLocationName("BASINNAME"); },
     "\"BASINNAME\" is reserved by the intensity database; please choose another name."},
    {"no table for Tc", [](auto&, auto& ws) { ReadTwoYearDailyIntensity(ws, ""); },
     "No rainfall intensity table is chosen for this project; choose one in the project setup "
     "before calculating Tc."},
    {"deleting the outlet",
     [](auto&, auto& ws) { SetElementDeleted(ws, ElementKind::Node, "Node", true); },
     "The outlet node cannot be deleted."},
    {"a second lock",
     [](auto&, auto& ws) {
         const ProjectLock first = ProjectLock::acquire(ws.ProjectPath);
         ProjectLock::acquire(ws.ProjectPath);
     },
     "The project \"@project.rmt\" is open in another Pluvane window. Close it there first; "
     "nothing was changed."},
};

class StoreAndFileRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(StoreAndFileRefusal, GivesItsWholeMessage) {
#ifdef _WIN32
    if (GetParam().needsFifo)
        GTEST_SKIP() << "needs POSIX: a FIFO";
#endif
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    const std::string dir = folder.file(""); // with the system's separator at its end
    std::string expected = GetParam().message;
    for (std::size_t at = expected.find('@'); at != std::string::npos;
         at = expected.find('@', at + dir.size()))
        expected.replace(at, 1, dir);
    const std::string data = ws.DataFolder + "/";
    if (const std::size_t at = expected.find('%'); at != std::string::npos)
        expected.replace(at, 1, data);
    EXPECT_EQ(ErrorMessageOf([&] { GetParam().action(dir, ws); }), expected);
}

INSTANTIATE_TEST_SUITE_P(Messages, StoreAndFileRefusal, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<Refusal>& info) {
                             std::string name;
                             for (const char* c = info.param.condition; *c; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });

} // namespace
