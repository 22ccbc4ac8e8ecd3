#include "TestSupport.h"
#include "core/Error.h"
#include "core/store/Database.h"
#include "core/store/ProjectDb.h"
#include "core/store/ProjectLock.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <thread>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace pluvane;
using namespace pluvane::test;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> columnTypes(Database& db, const std::string& table) {
    Statement q = db.prepare("SELECT type FROM pragma_table_info(?)");
    q.bind(1, table);
    std::vector<std::string> types;
    while (q.step())
        types.push_back(q.text(0).value_or(""));
    return types;
}

int rowCount(const Workspace& ws, const std::string& table) {
    Database db = OpenProjectDb(ws);
    Statement q = db.prepare("SELECT COUNT(*) FROM " + table);
    q.step();
    return static_cast<int>(q.integer(0));
}

void insertElementRows(const Workspace& ws) {
    Database db = OpenProjectDb(ws);
    for (const char* deleted : {"True", "False", "True"}) {
        db.prepare("INSERT INTO TblBasinInfo (BasinTag, Deleted) VALUES ('Basin1', ?)")
            .bind(1, deleted)
            .run();
        db.prepare("INSERT INTO TblSurfaceInfo (SurfTag, Deleted) VALUES ('Surface1', ?)")
            .bind(1, deleted)
            .run();
        db.prepare("INSERT INTO TblChannelInfo (ChannelTag, Deleted) VALUES ('Channel1', ?)")
            .bind(1, deleted)
            .run();
    }
}

} // namespace

TEST(StoreTemplate, HoldsTheSixTablesEmptyAndAllText) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    Database db = OpenProjectDb(ws);
    const std::map<std::string, std::size_t> expected{
        {"TblProjectInfo", 6},  {"TblNodeInfo", 4},     {"TblBasinInfo", 13},
        {"TblSurfaceInfo", 10}, {"TblChannelInfo", 13}, {"TblResults", 14}};
    for (const auto& [table, columns] : expected) {
        const auto types = columnTypes(db, table);
        EXPECT_EQ(types.size(), columns) << table;
        for (const auto& type : types)
            EXPECT_EQ(type, "TEXT") << table;
        Statement q = db.prepare("SELECT COUNT(*) FROM " + table);
        q.step();
        EXPECT_EQ(q.integer(0), 0) << table;
    }
}

TEST(StoreOpen, BadFilesGiveClearErrorsAndAreLeftAlone) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);

    ws.ProjectPath = folder.file("missing.rmt");
    EXPECT_NE(ErrorMessageOf([&] { OpenProjectDb(ws); }).find("cannot be opened"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(ws.ProjectPath)) << "opening must never create a project file";

    ws.ProjectPath = WriteFile(folder, "notes.rmt", "These are my notes, not a project.\n");
    EXPECT_NE(ErrorMessageOf([&] { OpenProjectDb(ws); }).find("is not a database"),
              std::string::npos);
    EXPECT_EQ(ReadTextFile(ws.ProjectPath), "These are my notes, not a project.\n");

    ws.ProjectPath = folder.file("other.db");
    CreateDatabaseFromSql(ws.ProjectPath, "CREATE TABLE Something (x TEXT);");
    EXPECT_NE(
        ErrorMessageOf([&] { OpenProjectDb(ws); }).find("the table TblProjectInfo is missing"),
        std::string::npos);
    EXPECT_NE(
        ErrorMessageOf([&] { CheckProjectFile(ws.ProjectPath); }).find("not a Pluvane project"),
        std::string::npos);

    ws.ProjectPath.clear();
    EXPECT_EQ(ErrorMessageOf([&] { OpenProjectDb(ws); }), "No project is open.");

    ws.DataFolder = folder.file("nowhere");
    EXPECT_NE(ErrorMessageOf([&] { OpenIntensityDb(ws); }).find("is missing"), std::string::npos);
}

TEST(StoreOpen, AnotherProgramHoldingTheFileIsReportedAsInUse) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    Database holder = OpenProjectDb(ws);
    holder.exec("BEGIN EXCLUSIVE");
    const std::string message = ErrorMessageOf([&] { rowCount(ws, "TblBasinInfo"); });
    EXPECT_NE(message.find("in use by another program"), std::string::npos) << message;
    holder.exec("ROLLBACK");
    EXPECT_EQ(rowCount(ws, "TblBasinInfo"), 0);
}

TEST(StorePurge, RemovesExactlyTheRowsMarkedDeleted) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    insertElementRows(ws);
    PurgeDeletedElements(ws);
    for (const char* table : {"TblBasinInfo", "TblSurfaceInfo", "TblChannelInfo"}) {
        Database db = OpenProjectDb(ws);
        Statement q = db.prepare(std::string("SELECT Deleted FROM ") + table);
        std::vector<std::string> left;
        while (q.step())
            left.push_back(q.text(0).value_or(""));
        EXPECT_EQ(left, std::vector<std::string>{"False"}) << table;
    }
}

TEST(StorePurge, AFailurePartWayLeavesEveryTableAsItWas) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    insertElementRows(ws);
    {
        Database db = OpenProjectDb(ws);
        // The third table refuses deletes, after the first two have gone through.
        db.exec(
            "CREATE TRIGGER refuse BEFORE DELETE ON TblSurfaceInfo BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    }
    EXPECT_THROW(PurgeDeletedElements(ws), Error);
    EXPECT_EQ(rowCount(ws, "TblBasinInfo"), 3);
    EXPECT_EQ(rowCount(ws, "TblChannelInfo"), 3);
    EXPECT_EQ(rowCount(ws, "TblSurfaceInfo"), 3);
}

TEST(StorePurge, AProcessKilledInTheMiddleOfAWriteLeavesTheFileAsBefore) {
#ifdef _WIN32
    GTEST_SKIP() << "needs POSIX: fork() and SIGKILL";
#else
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    insertElementRows(ws);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Database db = OpenProjectDb(ws);
        Transaction transaction(db);
        db.exec("DELETE FROM TblBasinInfo WHERE Deleted = 'True';");
        db.exec("DELETE FROM TblChannelInfo WHERE Deleted = 'True';");
        ::raise(SIGKILL); // dies before the commit
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(rowCount(ws, "TblBasinInfo"), 3);
    EXPECT_EQ(rowCount(ws, "TblChannelInfo"), 3);
#endif
}

TEST(StoreNewProject, CopiesTheTemplateAndReplacesAnOldFile) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    insertElementRows(ws);
    CreateProjectFromTemplate(ws, ws.ProjectPath); // New over an existing file
    EXPECT_EQ(rowCount(ws, "TblBasinInfo"), 0);
    EXPECT_FALSE(fs::exists(ws.ProjectPath + ".part"));

    const std::string target = folder.file("second.rmt");
    ws.DataFolder = folder.file("no-data-here");
    EXPECT_NE(ErrorMessageOf([&] { CreateProjectFromTemplate(ws, target); }).find("template"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(target));

    ws.DataFolder = folder.path().string();
    EXPECT_THROW(CreateProjectFromTemplate(ws, folder.file("no-such-dir/p.rmt")), Error);
}

// Save As: the copy holds the rows and may be written even when the original may not; a source
// that is not a project leaves the target as it was.
TEST(StoreCopyProject, TheCopyHoldsTheRowsIsWritableAndABadSourceChangesNothing) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    insertElementRows(ws);
    fs::permissions(ws.ProjectPath, fs::perms::owner_read, fs::perm_options::replace);
    const std::string copy = folder.file("alternative.rmt");
    CopyProjectFile(ws.ProjectPath, copy);
    fs::permissions(ws.ProjectPath, fs::perms::owner_read | fs::perms::owner_write,
                    fs::perm_options::replace);
    EXPECT_NE(fs::status(copy).permissions() & fs::perms::owner_write, fs::perms::none);
    Workspace copied = ws;
    copied.ProjectPath = copy;
    ASSERT_GT(rowCount(ws, "TblBasinInfo"), 0);
    EXPECT_EQ(rowCount(copied, "TblBasinInfo"), rowCount(ws, "TblBasinInfo"));

    const std::string text = WriteFile(folder, "notes.txt", "not a project");
    EXPECT_THROW(CopyProjectFile(text, copy), Error);
    EXPECT_THROW(CopyProjectFile(folder.file("missing.rmt"), copy), Error);
    EXPECT_EQ(rowCount(copied, "TblBasinInfo"), rowCount(ws, "TblBasinInfo"));
    for (const auto& entry : fs::directory_iterator(folder.path()))
        EXPECT_EQ(entry.path().filename().string().rfind(".alternative.rmt", 0), std::string::npos)
            << "a temporary copy was left: " << entry.path();
}

TEST(StoreDatabase, BoundValuesAreStoredExactlyAsTyped) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    const std::vector<std::string> values{"O'Brien's \"Lot\" 7",
                                          "back\\slash; DROP TABLE TblBasinInfo;--",
                                          "Café Éléonore",
                                          "Lot {7}",
                                          "",
                                          " "};
    {
        Database db = OpenProjectDb(ws);
        Statement insert = db.prepare("INSERT INTO TblBasinInfo (BasinName) VALUES (?)");
        for (const auto& value : values) {
            insert.bind(1, value).run();
            insert.reset();
        }
    }
    Database db = OpenProjectDb(ws); // reopened
    Statement q = db.prepare("SELECT * FROM TblBasinInfo ORDER BY rowid");
    const auto rows = readAll(q);
    ASSERT_EQ(rows.size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(rows[i].text("basinname"), values[i])
            << "columns are found without regard to case";
        EXPECT_EQ(rows[i].get("Tc"), std::nullopt);
        EXPECT_EQ(rows[i].number("Tc"), 0.0);
    }
    EXPECT_EQ(QuoteIdentifier("Fort \"Big\" Myers"), "\"Fort \"\"Big\"\" Myers\"");
}

TEST(StoreLock, ASecondHolderIsRefusedUntilTheFirstLetsGo) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    {
        ProjectLock first = ProjectLock::acquire(ws.ProjectPath);
        EXPECT_TRUE(first.held());
        EXPECT_TRUE(ProjectLock::isHeldElsewhere(ws.ProjectPath));
        const std::string message = ErrorMessageOf([&] { ProjectLock::acquire(ws.ProjectPath); });
        EXPECT_NE(message.find("open in another Pluvane window"), std::string::npos) << message;
        // The lock does not get in the way of the program's own reads and writes.
        insertElementRows(ws);
        PurgeDeletedElements(ws);
        EXPECT_EQ(rowCount(ws, "TblBasinInfo"), 1);
    }
    EXPECT_FALSE(ProjectLock::isHeldElsewhere(ws.ProjectPath));
    EXPECT_TRUE(ProjectLock::acquire(ws.ProjectPath).held());
    EXPECT_NE(ErrorMessageOf([&] {
                  ProjectLock::acquire(folder.file("none.rmt"));
              }).find("cannot be opened"),
              std::string::npos);
}

TEST(StoreLock, AKilledHolderLeavesTheFileFree) {
#ifdef _WIN32
    GTEST_SKIP() << "needs POSIX: fork() and SIGKILL";
#else
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ProjectLock lock = ProjectLock::acquire(ws.ProjectPath);
        ::raise(SIGKILL);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_FALSE(ProjectLock::isHeldElsewhere(ws.ProjectPath));
#endif
}

namespace {

// A temporary table is private to its connection: seeing one tells which connection an open got.
bool seesMark(const Workspace& ws) {
    Database db = OpenProjectDb(ws);
    Statement query = db.prepare("SELECT count(*) FROM sqlite_temp_master WHERE name = 'mark'");
    query.step();
    return query.integer(0) == 1;
}

} // namespace

TEST(StoreConnectionScope, OpensOfItsProjectInItsThreadShareOneConnection) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    Workspace other = ws;
    other.ProjectPath = folder.file("other.rmt");
    CreateProjectFromTemplate(ws, other.ProjectPath);
    {
        const ProjectConnectionScope scope(ws);
        Database first = OpenProjectDb(ws);
        first.exec("CREATE TEMP TABLE mark (x)");
        first.exec("INSERT INTO TblBasinInfo (BasinName) VALUES ('through the scope')");
        first.close(); // lets go of its handle, not of the scope's connection
        EXPECT_TRUE(seesMark(ws));
        EXPECT_FALSE(seesMark(other));
        bool elsewhere = true;
        std::thread([&] { elsewhere = seesMark(ws); }).join();
        EXPECT_FALSE(elsewhere);
    }
    EXPECT_FALSE(seesMark(ws));
    EXPECT_EQ(rowCount(ws, "TblBasinInfo"), 1);

    Workspace missing = ws;
    missing.ProjectPath = folder.file("missing.rmt");
    EXPECT_EQ(ErrorMessageOf([&] { ProjectConnectionScope scope(missing); }),
              ErrorMessageOf([&] { OpenProjectDb(missing); }));
}

TEST(StoreNames, ElementAndNodeNamesByTag) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    {
        Database db = OpenProjectDb(ws);
        db.exec(
            "INSERT INTO TblChannelInfo (ChannelTag, ChannelName) VALUES ('Channel1', 'Main ditch'), "
            "('Channel2', 'O''Hara culvert')");
        db.exec("INSERT INTO TblNodeInfo (NodeName) VALUES ('Outfall A'), ('second row')");
    }
    EXPECT_EQ(ReadElementName(ws, ElementKind::Channel, "Channel2"), "O'Hara culvert");
    EXPECT_EQ(ReadElementName(ws, ElementKind::Channel, "Channel9"), "");
    EXPECT_EQ(ReadElementName(ws, ElementKind::Node, ""), "Outfall A");
    EXPECT_EQ(ReadElementName(ws, ElementKind::Basin, "Basin1"), "");
    const auto channels = ReadElementNames(ws, ElementKind::Channel);
    EXPECT_EQ(channels, (std::map<std::string, std::string>{{"Channel1", "Main ditch"},
                                                            {"Channel2", "O'Hara culvert"}}));
    EXPECT_EQ(ReadElementNames(ws, ElementKind::Node).at(""), "Outfall A");
    EXPECT_TRUE(ReadElementNames(ws, ElementKind::Surface).empty());
}
