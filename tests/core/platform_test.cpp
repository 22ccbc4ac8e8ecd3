#include "TestSupport.h"
#include "core/io/AtomicFile.h"
#include "core/io/FileChecks.h"
#include "core/platform/Platform.h"
#include "core/store/ProjectDb.h"
#include "core/store/ProjectLock.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace pluvane;
using namespace pluvane::test;
namespace fs = std::filesystem;

namespace {

// The lock, the atomic replace, the bounded read and the file identity, by UTF-8 names that
// Windows would misread in its code page; the same rows run on every system.
class NamedProject : public testing::TestWithParam<const char*> {};

TEST_P(NamedProject, IsMadeLockedReplacedAndKnownByItsIdentity) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    const std::string path = folder.file(GetParam());
    const fs::path native = platform::PathFromUtf8(path);
    fs::create_directories(native.parent_path());
    CreateProjectFromTemplate(ws, path);
    EXPECT_EQ(platform::PathToUtf8(native), path);
    EXPECT_TRUE(fs::is_regular_file(native)) << "the file is named as given";
    ws.ProjectPath = path;
    {
        const ProjectLock lock = ProjectLock::acquire(path);
        EXPECT_TRUE(ProjectLock::isHeldElsewhere(path));
        EXPECT_NE(ErrorMessageOf([&] { ProjectLock::acquire(path); }).find("open in another"),
                  std::string::npos);
        // The lock leaves SQLite's own reads and writes of the file alone.
        EXPECT_NO_THROW(CheckProjectFile(path));
        EXPECT_NO_THROW(PurgeDeletedElements(ws));
    }
    EXPECT_FALSE(ProjectLock::isHeldElsewhere(path));

    const std::string report = path + ".txt";
    WriteFileAtomically(report, "first");
    WriteFileAtomically(report, "second");
    EXPECT_EQ(ReadFileLimited(report), "second");
    const std::string dotted = platform::PathToUtf8(native.parent_path() / "." / native.filename());
    EXPECT_TRUE(SameFile(path, dotted));
    EXPECT_EQ(FileIdentity(path), FileIdentity(dotted));
    EXPECT_FALSE(SameFile(path, report));
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(native.parent_path()))
        ++entries;
    EXPECT_EQ(entries, native.parent_path() == folder.path() ? 5u : 2u)
        << "no temporary file is left behind";
}

INSTANTIATE_TEST_SUITE_P(Names, NamedProject,
                         testing::Values("plain.rmt",
                                         "M\xC3\xBCller-Stra\xC3\x9F"
                                         "e.rmt",
                                         "Bericht \xC3\xBC/M\xC3\xBCller-Stra\xC3\x9F"
                                         "e.rmt",
                                         "\xE6\x8A\xA5\xE5\x91\x8A/\xCE\xB4.rmt"));

} // namespace
