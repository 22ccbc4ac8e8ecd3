#include "TestSupport.h"
#include "core/Error.h"
#include "core/Settings.h"
#include "core/settings/LocationChoices.h"
#include "core/settings/ProjectSettings.h"
#include "core/store/Database.h"
#include "core/store/IntensityDb.h"
#include "core/store/ProjectDb.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

using namespace pluvane;
using namespace pluvane::test;

namespace {

// Every row of a project table, each column as text ("<null>" for NULL), in rowid order.
using Rows = std::vector<std::vector<std::string>>;

Rows tableRows(const Workspace& ws, const std::string& table) {
    Database db = OpenProjectDb(ws);
    Statement q = db.prepare("SELECT * FROM " + table + " ORDER BY rowid");
    Rows rows;
    while (q.step()) {
        std::vector<std::string> row;
        for (int i = 0; i < q.columnCount(); ++i)
            row.push_back(q.text(i).value_or("<null>"));
        rows.push_back(row);
    }
    return rows;
}

// A fresh run on the same files: nothing carried over in memory.
Workspace reopened(const Workspace& ws) {
    Workspace again;
    again.DataFolder = ws.DataFolder;
    again.ProjectPath = ws.ProjectPath;
    return again;
}

void execOnProject(const Workspace& ws, const std::string& sql) {
    Database db = OpenProjectDb(ws);
    db.exec(sql);
}

const ProjectFields kProject{"Harbour Road Outfall", "J-2291", "R. O'Neil", "M. Dupré",
                             "3/14/2027"};

} // namespace

// TblProjectInfo columns: ProjectName, DesignEngineer, ProjectManager, DesignDate, JobNumber,
// IValueBasinName. TblNodeInfo columns: NodeName, IntensityTable, NodeX, NodeY.

TEST(SettingsProjectNew, ANewProjectLoadsAsNotExistingWithNothingFilled) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    const ProjectSetup setup = LoadProjectSettings(ws);
    EXPECT_FALSE(setup.existingProject);
    EXPECT_EQ(setup.project, ProjectFields{});
    EXPECT_FALSE(setup.node.has_value());
}

TEST(SettingsProjectNew, OkWithOnlyTheNodeFieldsInsertsOneRowEachAtTheNodeStartPosition) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    SaveProjectSettings(ws, ProjectFields{}, {"Outfall 1", "Fort Myers"}, false);
    EXPECT_EQ(RecordedIntensityTable(ws), "Fort Myers");

    const Workspace again = reopened(ws);
    EXPECT_EQ(tableRows(again, "TblProjectInfo"), (Rows{{"", "", "", "", "", "Fort Myers"}}))
        << "the project row records the same table as the node row";
    EXPECT_EQ(tableRows(again, "TblNodeInfo"), (Rows{{"Outfall 1", "Fort Myers", "5040", "5160"}}));
}

TEST(SettingsProjectNew, EmptyNodeFieldsAreRefusedAndNothingIsWritten) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    for (const NodeFields& node :
         {NodeFields{"", "Atlanta"}, NodeFields{"Outfall", ""}, NodeFields{}}) {
        EXPECT_EQ(ErrorMessageOf([&] { SaveProjectSettings(ws, kProject, node, false); }),
                  "Please Fill in Basin Information Fields");
    }
    EXPECT_TRUE(tableRows(ws, "TblProjectInfo").empty());
    EXPECT_TRUE(tableRows(ws, "TblNodeInfo").empty());
    // A blank is a character: the dialogs only refuse fields of length zero.
    EXPECT_TRUE(IsComplete({" ", " "}));
}

TEST(SettingsProjectReopen, StoredValuesComeBackAndOkAddsNoRows) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    SaveProjectSettings(ws, kProject, {"Outfall 1", "Lake Houston"}, false);

    Workspace again = reopened(ws);
    ProjectSetup setup = LoadProjectSettings(again);
    ASSERT_TRUE(setup.existingProject);
    EXPECT_EQ(setup.project, kProject) << "the stored date is kept, not replaced by today's";
    ASSERT_TRUE(setup.node.has_value());
    EXPECT_EQ(*setup.node, (NodeFields{"Outfall 1", "Lake Houston"}));

    ProjectFields edited = setup.project;
    edited.projectName = "Harbour Road Outfall, phase 2";
    SaveProjectSettings(again, edited, {"Outfall 1A", "Atlanta"}, setup.existingProject);
    SaveProjectSettings(again, edited, {"Outfall 1A", "Atlanta"}, setup.existingProject);

    const Workspace third = reopened(ws);
    EXPECT_EQ(tableRows(third, "TblProjectInfo"),
              (Rows{{"Harbour Road Outfall, phase 2", "R. O'Neil", "M. Dupré", "3/14/2027",
                     "J-2291", "Atlanta"}}));
    EXPECT_EQ(tableRows(third, "TblNodeInfo"), (Rows{{"Outfall 1A", "Atlanta", "5040", "5160"}}))
        << "an update keeps the node where the canvas put it";
}

TEST(SettingsProjectReopen, ApostrophesQuotesAndNonAsciiAreStoredExactly) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    const ProjectFields awkward{"Bob's \"Creek\"; DROP TABLE TblNodeInfo;--", "Nº 12'B",
                                "Zoë Ångström", "Đặng Thị Hương", "14.03.2027"};
    const NodeFields node{"Ausfluss Süd-Ost '2'", "O'Brien \"North\" Creek"};
    SaveProjectSettings(ws, awkward, node, false);
    Workspace again = reopened(ws);
    const ProjectSetup setup = LoadProjectSettings(again);
    EXPECT_EQ(setup.project, awkward);
    ASSERT_TRUE(setup.node.has_value());
    EXPECT_EQ(*setup.node, node);
    EXPECT_EQ(tableRows(again, "TblNodeInfo").size(), 1u);
}

TEST(SettingsProjectReopen, TheLastRowsAreReadAndWritten) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    execOnProject(
        ws, "INSERT INTO TblProjectInfo (ProjectName, DesignDate) VALUES ('first', '1/1/2020');"
            "INSERT INTO TblProjectInfo (ProjectName, DesignDate) VALUES ('second', '2/2/2022');"
            "INSERT INTO TblNodeInfo VALUES ('node A', 'Atlanta', '100', '200');"
            "INSERT INTO TblNodeInfo VALUES ('node B', 'Fort Myers', '300', '400');");
    ProjectSetup setup = LoadProjectSettings(ws);
    EXPECT_EQ(setup.project.projectName, "second");
    EXPECT_EQ(setup.project.designDate, "2/2/2022");
    EXPECT_EQ(setup.node->nodeName, "node B");

    SaveProjectSettings(ws, {"renamed", "", "", "", ""}, {"node B2", "Lake Houston"}, true);
    const Rows projects = tableRows(ws, "TblProjectInfo");
    ASSERT_EQ(projects.size(), 2u);
    EXPECT_EQ(projects[0][0], "first");
    EXPECT_EQ(projects[1][0], "renamed");
    // The name goes to the last node row; the table is the project's, recorded on every row.
    EXPECT_EQ(tableRows(ws, "TblNodeInfo"), (Rows{{"node A", "Lake Houston", "100", "200"},
                                                  {"node B2", "Lake Houston", "300", "400"}}));
    EXPECT_EQ(RecordedIntensityTable(ws), "Lake Houston");
}

TEST(SettingsProjectHalfDone, AProjectRowWithoutANodeRowLoadsAndGetsItsNodeOnOk) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    execOnProject(
        ws, "INSERT INTO TblProjectInfo (ProjectName, IValueBasinName) VALUES ('half', 'Atlanta')");
    ProjectSetup setup = LoadProjectSettings(ws);
    EXPECT_TRUE(setup.existingProject);
    EXPECT_EQ(setup.project.projectName, "half");
    EXPECT_EQ(setup.project.designDate, "") << "a NULL date reads as empty";
    EXPECT_FALSE(setup.node.has_value());

    SaveProjectSettings(ws, setup.project, {"Outfall", "Fort Myers"}, setup.existingProject);
    EXPECT_EQ(tableRows(ws, "TblProjectInfo"), (Rows{{"half", "", "", "", "", "Fort Myers"}}));
    EXPECT_EQ(tableRows(ws, "TblNodeInfo"), (Rows{{"Outfall", "Fort Myers", "5040", "5160"}}));
}

TEST(SettingsProjectHalfDone, ARowThatVanishedSinceLoadingIsAddedAgainNotLost) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    SaveProjectSettings(ws, kProject, {"Outfall", "Atlanta"}, false);
    execOnProject(ws, "DELETE FROM TblProjectInfo");
    SaveProjectSettings(ws, kProject, {"Outfall", "Atlanta"}, true);
    EXPECT_EQ(tableRows(ws, "TblProjectInfo").size(), 1u);
    EXPECT_EQ(tableRows(ws, "TblNodeInfo").size(), 1u);
}

TEST(SettingsProjectFailure, AFailedNodeInsertLeavesBothTablesAsBefore) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    execOnProject(ws, "CREATE TRIGGER refuse BEFORE INSERT ON TblNodeInfo "
                      "BEGIN SELECT RAISE(ABORT, 'node refused'); END;");
    EXPECT_THROW(SaveProjectSettings(ws, kProject, {"Outfall", "Atlanta"}, false), Error);
    EXPECT_TRUE(tableRows(ws, "TblProjectInfo").empty())
        << "the project row went in with the failed node row";
    EXPECT_TRUE(tableRows(ws, "TblNodeInfo").empty());
}

TEST(SettingsProjectFailure, AFailedNodeUpdateLeavesBothTablesAsBefore) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    SaveProjectSettings(ws, kProject, {"Outfall", "Fort Myers"}, false);
    const Rows projects = tableRows(ws, "TblProjectInfo");
    const Rows nodes = tableRows(ws, "TblNodeInfo");
    execOnProject(ws, "CREATE TRIGGER refuse BEFORE UPDATE ON TblNodeInfo "
                      "BEGIN SELECT RAISE(ABORT, 'node refused'); END;");
    EXPECT_THROW(SaveProjectSettings(ws, {"changed", "", "", "", ""}, {"Other", "Atlanta"}, true),
                 Error);
    EXPECT_EQ(tableRows(ws, "TblProjectInfo"), projects);
    EXPECT_EQ(tableRows(ws, "TblNodeInfo"), nodes);
}

TEST(SettingsProjectFailure, NoProjectOrABrokenFileGivesAnErrorNotACrash) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    Workspace none = ws;
    none.ProjectPath.clear();
    EXPECT_EQ(ErrorMessageOf([&] { LoadProjectSettings(none); }), "No project is open.");
    EXPECT_THROW(SaveProjectSettings(none, kProject, {"Outfall", "Atlanta"}, false), Error);

    Workspace notes = ws;
    notes.ProjectPath = WriteFile(folder, "notes.rmt", "not a database at all, just some notes\n");
    EXPECT_NE(ErrorMessageOf([&] { LoadNodeSettings(notes); }).find("is not a database"),
              std::string::npos);
    EXPECT_EQ(ReadTextFile(notes.ProjectPath), "not a database at all, just some notes\n");
}

TEST(SettingsNode, AnEmptyNodeTableLoadsAsNothing) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    EXPECT_FALSE(LoadNodeSettings(ws).has_value());
}

TEST(SettingsNode, TheFirstRowIsRead) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    execOnProject(ws, "INSERT INTO TblNodeInfo VALUES ('first', 'Fort Myers', '1', '2');"
                      "INSERT INTO TblNodeInfo VALUES ('second', 'Lake Houston', '3', '4');");
    const auto node = LoadNodeSettings(ws);
    ASSERT_TRUE(node.has_value());
    EXPECT_EQ(*node, (NodeFields{"first", "Fort Myers"}));
}

TEST(SettingsNode, ANodeRowWithoutATableLoadsAsEmpty) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    execOnProject(ws, "INSERT INTO TblNodeInfo (NodeName) VALUES ('only a name')");
    const auto node = LoadNodeSettings(ws);
    ASSERT_TRUE(node.has_value());
    EXPECT_EQ(*node, (NodeFields{"only a name", ""}));
}

TEST(SettingsNode, SavingTheNameWritesTheFirstRowOnlyAndLeavesItsTableAndPosition) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    execOnProject(ws, "INSERT INTO TblNodeInfo VALUES ('first', 'Fort Myers', '1', '2');"
                      "INSERT INTO TblNodeInfo VALUES ('second', 'Lake Houston', '3', '4');");
    SaveNodeSettings(ws, {std::string("Main outfall's node"), std::nullopt});
    EXPECT_EQ(tableRows(reopened(ws), "TblNodeInfo"),
              (Rows{{"Main outfall's node", "Fort Myers", "1", "2"},
                    {"second", "Lake Houston", "3", "4"}}));
}

TEST(SettingsNode, SavingIntoAnEmptyTableCreatesOneRowAtTheStartPosition) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    SaveNodeSettings(ws, {std::string("Outfall"), std::nullopt});
    EXPECT_EQ(tableRows(ws, "TblNodeInfo"), (Rows{{"Outfall", "", "5040", "5160"}}));
    SaveNodeSettings(ws, {std::string("Outfall 2"), std::nullopt});
    EXPECT_EQ(tableRows(ws, "TblNodeInfo").size(), 1u) << "later saves edit the row, never add one";
}

TEST(SettingsNode, ThePickerStoresTheTableAtOnceAndCreatesTheRowWhenMissing) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    SetNodeIntensityTable(ws, "Lake Houston");
    EXPECT_EQ(tableRows(reopened(ws), "TblNodeInfo"), (Rows{{"", "Lake Houston", "5040", "5160"}}));

    SaveNodeSettings(ws, {std::string("Outfall"), std::nullopt});
    EXPECT_THROW(SetNodeIntensityTable(ws, ""), Error);
    EXPECT_EQ(tableRows(ws, "TblNodeInfo"), (Rows{{"Outfall", "Lake Houston", "5040", "5160"}}))
        << "no table is not a choice: nothing changes";
}

TEST(SettingsProjectTable, EveryProjectRowAndTheNodeRowGetTheTableAndNothingElseChanges) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    execOnProject(ws, "INSERT INTO TblProjectInfo (ProjectName) VALUES ('one');"
                      "INSERT INTO TblProjectInfo (ProjectName) VALUES ('two');"
                      "INSERT INTO TblNodeInfo VALUES ('node', 'Atlanta', '1', '2');");
    SetProjectIntensityTable(ws, "O'Brien \"North\" Creek");
    const Rows projects = tableRows(reopened(ws), "TblProjectInfo");
    ASSERT_EQ(projects.size(), 2u);
    for (const auto& row : projects)
        EXPECT_EQ(row[5], "O'Brien \"North\" Creek");
    EXPECT_EQ(tableRows(ws, "TblNodeInfo"), (Rows{{"node", "O'Brien \"North\" Creek", "1", "2"}}))
        << "the node row records the same table, so the solve uses what the project names";
    EXPECT_EQ(RecordedIntensityTable(ws), "O'Brien \"North\" Creek");
}

TEST(SettingsProjectTable, AProjectWithoutARowGetsNoRowAndAMissingFileIsNotMade) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    SetProjectIntensityTable(ws, "Fort Myers");
    EXPECT_TRUE(tableRows(ws, "TblProjectInfo").empty());
    EXPECT_EQ(RecordedIntensityTable(ws), std::nullopt) << "no node row was made for it";

    Workspace missing = ws;
    missing.ProjectPath = folder.file("gone.rmt");
    EXPECT_THROW(SetProjectIntensityTable(missing, "Atlanta"), Error);
    EXPECT_FALSE(std::filesystem::exists(missing.ProjectPath));
}

TEST(SettingsLocations, ListsTheStoredLocationsInOrderWithTheirSources) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    SaveLocation(ws, "Pine Creek", UniformGrid("2.0"),
                 std::string("source: typed from a county manual"));
    SaveLocation(ws, "Alder Flat", UniformGrid("2.0"));
    const auto choices = ListLocationChoices(ws);
    std::vector<std::string> names;
    for (const auto& choice : choices)
        names.push_back(choice.name);
    EXPECT_EQ(names, ListLocations(ws)) << "the list table's own order, not sorted";
    ASSERT_EQ(choices.size(), 5u);
    EXPECT_EQ(choices[3].name, "Pine Creek");
    EXPECT_EQ(choices[4].name, "Alder Flat");
    EXPECT_NE(choices[0].provenance.find("NOAA Atlas 14"), std::string::npos);
    EXPECT_EQ(choices[3].provenance, "source: typed from a county manual");
    EXPECT_EQ(choices[4].provenance, "");
}

TEST(SettingsLocations, AnEmptyListOrAMissingDatabaseIsAClearError) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    {
        Database db = OpenIntensityDb(ws);
        db.exec("DELETE FROM BasinName");
    }
    EXPECT_NE(ErrorMessageOf([&] { ListLocationChoices(ws); }).find("holds no locations"),
              std::string::npos);

    std::filesystem::remove(ws.intensityDbPath());
    EXPECT_NE(ErrorMessageOf([&] { ListLocationChoices(ws); }).find("is missing"),
              std::string::npos);
}

TEST(SettingsLocations, AListWithoutSourcesStillListsItsNames) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    {
        Database db = OpenIntensityDb(ws);
        db.exec("ALTER TABLE BasinName DROP COLUMN Provenance");
    }
    const auto choices = ListLocationChoices(ws);
    ASSERT_EQ(choices.size(), 3u);
    EXPECT_EQ(choices[1].name, "Fort Myers");
    EXPECT_EQ(choices[1].provenance, "");
}

// Paths with the list's own separator, its escape and line breaks come back whole, through the
// file and a fresh read.
TEST(SettingsRecentProjects, AnyPathSurvivesTheFileAndTheListKeepsEightNewestFirst) {
    TempFolder folder;
    const std::string file = (folder.path() / "pluvane.conf").string();
    const std::vector<std::string> odd{"/plain/site.rmt",   "/a|b/c.rmt",   "C:\\jobs\\x.rmt",
                                       "/line\nbreak.rmt",  "/cr\r.rmt",    "/trailing\\",
                                       "/\\|\\n mixed.rmt", "/ünïcode.rmt", "/nine.rmt"};
    Settings settings = Settings::load(file);
    for (auto it = odd.rbegin(); it != odd.rend(); ++it)
        AddRecentProject(settings, *it);
    AddRecentProject(settings, odd[2]); // opened again: moves to the front, listed once
    settings.save();
    const std::vector<std::string> read = RecentProjects(Settings::load(file));
    std::vector<std::string> expected{odd[2], odd[0], odd[1], odd[3],
                                      odd[4], odd[5], odd[6], odd[7]};
    EXPECT_EQ(read, expected);
    EXPECT_EQ(DecodeSettingList(EncodeSettingList(odd)), odd);

    Settings again = Settings::load(file);
    RemoveRecentProject(again, odd[1]);
    SetLastFolder(again, "/jobs/a|b\\c");
    again.save();
    expected.erase(expected.begin() + 2);
    EXPECT_EQ(RecentProjects(Settings::load(file)), expected);
    EXPECT_EQ(LastFolder(Settings::load(file)), "/jobs/a|b\\c");
    EXPECT_EQ(LastFolder(Settings::load((folder.path() / "none.conf").string())), std::nullopt);
}
