// Faults found by probing the program with killed writes, damaged files and extreme numbers.
#include "TestSupport.h"
#include "core/Error.h"
#include "core/io/AtomicFile.h"
#include "core/io/FileChecks.h"
#include "core/solve/SolveEngine.h"
#include "core/solve/SolveProject.h"
#include "core/store/Database.h"
#include "core/store/IntensityDb.h"
#include "core/store/ProjectDb.h"
#include "core/text/NumberText.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace pluvane;
using namespace pluvane::test;
namespace fs = std::filesystem;

namespace {

std::string storedIval100(const Workspace& ws) {
    Database db = OpenProjectDb(ws);
    Statement q = db.prepare("SELECT Ival_100 FROM TblResults");
    return q.step() ? q.text(0).value_or("") : "(no row)";
}

[[maybe_unused]] std::int64_t rowCount(const std::string& path, const std::string& table) {
    Database db = Database::open(path, Database::Mode::ReadOnly);
    Statement q = db.prepare("SELECT count(*) FROM " + table);
    q.step();
    return q.integer(0);
}

} // namespace

// A child starts a big write with a one-page cache, so pages spill to the file while the
// rollback journal holds the originals, and is killed before it commits: the journal stays.
TEST(HotJournal, AWriteKilledHalfwayIsRolledBackOnTheNextOpen) {
#ifdef _WIN32
    GTEST_SKIP() << "needs POSIX: fork() and SIGKILL";
#else
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    ComputeResults(ws, "Atlanta", 1.0, 1.0, 15.0);
    const std::string before = storedIval100(ws);
    const std::int64_t basins = rowCount(ws.ProjectPath, "TblBasinInfo");

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        try {
            Database db = Database::open(ws.ProjectPath);
            db.exec("PRAGMA cache_size = 1");
            db.exec("BEGIN IMMEDIATE");
            db.exec("UPDATE TblResults SET Ival_100 = 'killed'");
            Statement insert = db.prepare("INSERT INTO TblBasinInfo (BasinName) VALUES (?)");
            const std::string big(4000, 'x');
            for (int i = 0; i < 400; ++i) {
                insert.bind(1, big);
                insert.run();
                insert.reset();
            }
            [[maybe_unused]] const auto wrote = ::write(ready[1], "1", 1);
            // Wait for the kill with the connection open: closing it would roll back.
            for (;;)
                ::pause();
        } catch (...) {
            [[maybe_unused]] const auto wrote = ::write(ready[1], "0", 1);
        }
        for (;;)
            ::pause();
    }
    char signal = 0;
    ASSERT_EQ(::read(ready[0], &signal, 1), 1);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_EQ(signal, '1') << "the child's write failed before the kill";
    ASSERT_TRUE(fs::exists(ws.ProjectPath + "-journal")) << "the kill left no journal to recover";

    EXPECT_NO_THROW(CheckProjectFile(ws.ProjectPath));
    EXPECT_EQ(storedIval100(ws), before);
    EXPECT_EQ(rowCount(ws.ProjectPath, "TblBasinInfo"), basins);
    EXPECT_NO_THROW(ComputeResults(ws, "Atlanta", 2.0, 1.0, 15.0));
    Database db = Database::open(ws.ProjectPath, Database::Mode::ReadOnly);
    Statement check = db.prepare("PRAGMA integrity_check");
    ASSERT_TRUE(check.step());
    EXPECT_EQ(check.text(0), "ok");
#endif
}

// Each bad cell sits in the 100-year column of the rows a 15-minute solve reads.
struct BadCell {
    const char* text;
    const char* why;
};

class SolveRefusal : public ::testing::TestWithParam<BadCell> {};

TEST_P(SolveRefusal, NamesTheCellAndKeepsTheStoredResults) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    ComputeResults(ws, "Atlanta", 1.0, 1.0, 15.0);
    const std::string before = storedIval100(ws);
    IntensityGrid grid = UniformGrid("4");
    grid[2][6] = GetParam().text; // 15 min, 100 years
    SaveLocation(ws, "Damaged", grid);
    const std::string message =
        ErrorMessageOf([&] { ComputeResults(ws, "Damaged", 1.0, 1.0, 15.0); });
    EXPECT_NE(message.find("\"Damaged\""), std::string::npos) << message;
    EXPECT_NE(message.find("15 min"), std::string::npos) << message;
    EXPECT_NE(message.find("100 years"), std::string::npos) << message;
    EXPECT_NE(message.find(GetParam().why), std::string::npos) << message;
    EXPECT_EQ(storedIval100(ws), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, SolveRefusal,
    ::testing::Values(BadCell{"", "missing"}, BadCell{"abc", "not a number"},
                      BadCell{"4 in", "not a number"}, BadCell{"nan", "not a number"},
                      BadCell{"inf", "too large"}, BadCell{"1e39", "too large"},
                      BadCell{"1e999", "too large"}, BadCell{"-5", "not positive"},
                      BadCell{"0", "not positive"}, BadCell{"1e-46", "too small"}));

TEST(SolveRefusal, AFlowBeyondSinglePrecisionNamesPeriodTcAndTable) {
    std::vector<IntensityRow> rows;
    for (const char* duration : kDurationTexts)
        rows.push_back({duration, {"3e38", "3e38", "3e38", "3e38", "3e38", "3e38", "3e38"}});
    EXPECT_EQ(
        ErrorMessageOf([&] { SolveFromRows(rows, 5.0, 1.0, 20.0, "Huge"); }),
        "The 1-year peak flow for a Tc of 20 min with the rainfall table \"Huge\" is too large to "
        "compute; check the sub-basin areas.");
    EXPECT_EQ(ErrorMessageOf([&] { SolveFromRows(rows, INFINITY, 1.0, 5.0); }),
              "The total area is too large to compute with; check the element data.");
    EXPECT_EQ(ErrorMessageOf([&] { SolveFromRows(rows, 1.0, NAN, 5.0); }),
              "The run-off coefficient is not a number; check the element data.");
}

TEST(SolveRefusal, GoodTablesSolveAsBeforeAndAnUnusedBadRowIsNoObstacle) {
    std::vector<IntensityRow> rows;
    for (const char* duration : kDurationTexts)
        rows.push_back({duration, {"2", "2", "2", "2", "2", "2", "2"}});
    rows[9].values[0] = "abc"; // 24 h, never read for Tc = 15 min
    const SolveResult result = SolveFromRows(rows, 3.0, 0.5, 15.0);
    for (std::size_t k = 0; k < 7; ++k)
        EXPECT_FLOAT_EQ(result.I[k], 2.0f);
    EXPECT_FLOAT_EQ(result.Q[0], 3.0f);
}

TEST(NumberRange, LargestNumbersReadBackAndRoundingClamps) {
    for (double value : {DBL_MAX, -DBL_MAX, 1.7976931348623e308, 1e300, -1e-300}) {
        const std::string text = PlainNumberText(value);
        EXPECT_EQ(ParseLenient(text), value) << text;
    }
    EXPECT_EQ(PlainNumberText(12.5), "12.5");
    EXPECT_EQ(RoundHalfEven(1e300), 9'200'000'000'000'000'000LL);
    EXPECT_EQ(RoundHalfEven(-1e300), -9'200'000'000'000'000'000LL);
    EXPECT_EQ(RoundHalfEven(NAN), 0);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
}

TEST(FileKinds, FoldersPipesAndDevicesAreNamedAsSuch) {
    TempFolder folder;
    std::vector<std::pair<std::string, std::string>> cases = {
        {folder.path().string(), "is a folder"}, {folder.file("missing.rmt"), "does not exist"}};
#ifdef _WIN32
    cases.push_back({"NUL", "not a regular file"}); // a device by its reserved name
#else
    const std::string fifo = folder.file("pipe.rmt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    cases.push_back({fifo, "not a regular file"});
    cases.push_back({"/dev/zero", "not a regular file"});
#endif
    for (const auto& [file, words] : cases) {
        const std::string path = file;
        for (const auto& action : std::initializer_list<std::function<void()>>{
                 [&] { CheckProjectFile(path); }, [&] { ReadTextFile(path); }}) {
            const std::string message = ErrorMessageOf(action);
            EXPECT_NE(message.find(words), std::string::npos) << path << ": " << message;
        }
    }
    const std::string large = folder.file("large.csv");
    {
        std::ofstream out(large, std::ios::binary);
        out << std::string(kMaxImportBytes + 1, ',');
    }
    EXPECT_NE(ErrorMessageOf([&] { ReadTextFile(large); }).find("larger than 4 MB"),
              std::string::npos);
}

TEST(FileKinds, SameFileComparesIdentityNotNames) {
    TempFolder folder;
    const std::string file = WriteFile(folder, "a.rmt", "x");
    fs::create_hard_link(file, folder.file("hard.rmt"));
    WriteFile(folder, "other.rmt", "x");
#ifndef _WIN32 // a symbolic link needs a privilege there
    fs::create_symlink(file, folder.file("link.rmt"));
    EXPECT_TRUE(SameFile(file, folder.file("link.rmt")));
#endif
    EXPECT_TRUE(SameFile(file, folder.file("hard.rmt")));
    EXPECT_TRUE(SameFile(file, folder.path().string() + "/./a.rmt"));
    EXPECT_FALSE(SameFile(file, folder.file("other.rmt")));
    EXPECT_FALSE(SameFile(file, folder.file("missing.rmt")));
}

TEST(AtomicFile, UniqueTemporariesLeaveNothingBehindAndSpareAFolderOfTheOldName) {
    TempFolder folder;
    fs::create_directory(folder.file("out"));
    const std::string target = folder.file("out/report.rtf");
    fs::create_directory(target + ".part");
    WriteFile(folder, "out/report.rtf.part/keep", "kept");
    const std::string first = CreateSiblingTempFile(target);
    const std::string second = CreateSiblingTempFile(target);
    EXPECT_NE(first, second);
    EXPECT_EQ(fs::path(first).parent_path(), fs::path(folder.file("out")));
    fs::remove(first);
    fs::remove(second);
#ifndef _WIN32 // Windows files have no mode to give
    ::umask(022);
#endif
    WriteFileAtomically(target, "one");
    WriteFileAtomically(target, "two");
    EXPECT_EQ(ReadTextFile(target), "two");
    EXPECT_TRUE(fs::exists(target + ".part/keep"));
#ifndef _WIN32
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
#endif
    EXPECT_THROW(ReplaceFileAtomically(target, [](const std::string&) { throw Error("stop"); }),
                 Error);
    EXPECT_EQ(ReadTextFile(target), "two");
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.file("out")))
        ++entries;
    EXPECT_EQ(entries, 2u); // the report and the folder "report.rtf.part"
}

TEST(Messages, AReservedLocationNameIsNamedNotASqlError) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    for (const char* name : {"BasinName", "basinname", "sqlite_master"}) {
        const std::string message = ErrorMessageOf([&] { ReadLocationRows(ws, name); });
        EXPECT_NE(message.find("reserved"), std::string::npos) << message;
    }
}
