#include "TestSupport.h"
#include "core/Error.h"
#include "core/rain/LocationCsv.h"
#include "core/store/IntensityDb.h"
#include "core/store/ProjectDb.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

using namespace pluvane;
using namespace pluvane::test;

namespace {

int locationTableRows(const Workspace& ws, const std::string& name) {
    Database db = OpenIntensityDb(ws);
    Statement q = db.prepare("SELECT COUNT(*) FROM " + QuoteIdentifier(name));
    q.step();
    return static_cast<int>(q.integer(0));
}

const char* const kShippedCsv = "# location: Test Hollow\n"
                                "# source: hand-made for a test\n"
                                "# point: 1 N, 2 W\n"
                                "duration_hours,1,2,5,10,25,50,100\n"
                                "0.083333,4.84,5.58,6.83,7.88,9.38,10.6,11.8\n"
                                "0.166667,3.54,4.09,5.00,5.77,6.84,7.74,8.64\n"
                                "0.25,2.88,3.32,4.08,4.68,5.60,6.28,7.00\n"
                                "0.50,2.08,2.40,2.96,3.40,4.06,4.56,5.08\n"
                                "1.0,1.36,1.57,1.92,2.23,2.67,3.03,3.40\n"
                                "2.0,0.845,0.970,1.19,1.38,1.66,1.89,2.13\n"
                                "3.0,0.633,0.723,0.883,1.03,1.24,1.42,1.61\n"
                                "6.0,0.388,0.440,0.532,0.617,0.747,0.857,0.975\n"
                                "12.0,0.238,0.268,0.323,0.372,0.447,0.509,0.577\n"
                                "24.0,0.140,0.160,0.194,0.224,0.268,0.305,0.343\n";

} // namespace

TEST(IntensityShipped, ListsTheShippedLocationsWithTenRowsAndTheirSources) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    EXPECT_EQ(ListLocations(ws),
              (std::vector<std::string>{"Atlanta", "Fort Myers", "Lake Houston"}));
    for (const std::string& name :
         std::vector<std::string>{"Atlanta", "Fort Myers", "Lake Houston"}) {
        const auto rows = ReadLocationRows(ws, name);
        ASSERT_EQ(rows.size(), 10u) << name;
        for (std::size_t r = 0; r < rows.size(); ++r)
            EXPECT_EQ(rows[r].duration, kDurationTexts[r]) << name;
        EXPECT_NE(ReadProvenance(ws, name).find("NOAA Atlas 14"), std::string::npos) << name;
    }
    const auto fortMyers = ReadLocationRows(ws, "Fort Myers");
    EXPECT_EQ(fortMyers[1].values[3], "7.20") << "texts are kept as typed, trailing zero included";
    EXPECT_EQ(fortMyers[9].values[6], "0.504");
    EXPECT_DOUBLE_EQ(ReadTwoYearDailyIntensity(ws, "Atlanta"), 0.16); // 2-year, 24-hour
}

TEST(IntensitySave, ANewNameAddsOneListRowAndOneTenRowTable) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    IntensityGrid grid = UniformGrid("5.0");
    grid[3][4] = "2.5 abc"; // stored as typed; readers take 2.5
    EXPECT_EQ(SaveLocation(ws, "Pine Creek", grid, std::string("typed in by hand")),
              LocationSaved::Created);

    Workspace reopened; // a new run on the same data folder
    reopened.DataFolder = ws.DataFolder;
    EXPECT_EQ(ListLocations(reopened).size(), 4u);
    EXPECT_EQ(ListLocations(reopened).back(), "Pine Creek");
    const auto rows = ReadLocationRows(reopened, "Pine Creek");
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[3].values[4], "2.5 abc");
    EXPECT_EQ(rows[9].duration, "24.0");
    EXPECT_EQ(ReadProvenance(reopened, "pine creek"), "typed in by hand");
}

TEST(IntensitySave, AnExistingNameInAnotherCaseOverwritesValuesOnly) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    const std::string before = ReadProvenance(ws, "Atlanta");
    EXPECT_EQ(SaveLocation(ws, "atlanta", UniformGrid("1.25")), LocationSaved::Updated);
    EXPECT_EQ(ListLocations(ws),
              (std::vector<std::string>{"Atlanta", "Fort Myers", "Lake Houston"}));
    EXPECT_EQ(locationTableRows(ws, "Atlanta"), 10);
    const auto rows = ReadLocationRows(ws, "ATLANTA");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(rows[r].duration, kDurationTexts[r]);
        EXPECT_EQ(rows[r].values[6], "1.25");
    }
    EXPECT_EQ(ReadProvenance(ws, "Atlanta"), before) << "no provenance given: the stored one stays";
    EXPECT_DOUBLE_EQ(ReadTwoYearDailyIntensity(ws, "ATLANTA"), 1.25);
}

TEST(IntensitySave, AwkwardButValidNamesAreQuotedAndWork) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    for (const std::string& name : std::vector<std::string>{
             "O'Brien \"North\" Creek", "Café du Lac", "select", "2nd Street", "a;b--c"}) {
        SaveLocation(ws, name, UniformGrid("3.5"));
        EXPECT_TRUE(LocationExists(ws, name)) << name;
        EXPECT_EQ(ReadLocationRows(ws, name).size(), 10u) << name;
        EXPECT_DOUBLE_EQ(ReadTwoYearDailyIntensity(ws, name), 3.5) << name;
    }
    EXPECT_EQ(ListLocations(ws).size(), 8u);
}

TEST(IntensitySave, NamesThatCannotBeStoredAreRefusedAndNothingIsCreated) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    for (const std::string& name : std::vector<std::string>{
             std::string(""), std::string("   "), std::string("BasinName"),
             std::string("sqlite_master"), std::string("tab\there"), std::string(300, 'x'),
             std::string(" Spaced "), std::string("Trailing "), std::string("BASINNAME "),
             std::string("Basin Name")}) {
        const std::string message =
            ErrorMessageOf([&] { SaveLocation(ws, name, UniformGrid("1")); });
        EXPECT_FALSE(message.empty()) << '"' << name << '"';
    }
    EXPECT_EQ(ListLocations(ws).size(), 3u);
}

TEST(IntensitySave, WithoutReplaceAListedNameIsLeftAlone) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    EXPECT_EQ(SaveLocation(ws, "Pine Creek", UniformGrid("2"), std::nullopt, false),
              LocationSaved::Created);
    EXPECT_EQ(SaveLocation(ws, "PINE CREEK", UniformGrid("3"), std::nullopt, false),
              LocationSaved::Exists);
    EXPECT_EQ(ReadLocationRows(ws, "Pine Creek")[0].values[0], "2");
    EXPECT_EQ(SaveLocation(ws, "PINE CREEK", UniformGrid("3")), LocationSaved::Updated);
    EXPECT_EQ(ReadLocationRows(ws, "Pine Creek")[0].values[0], "3");
}

TEST(IntensitySave, AFailedCreationLeavesNoHalfLocation) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    {
        Database db = OpenIntensityDb(ws);
        db.exec("CREATE VIEW Ghost AS SELECT 1"); // the CREATE TABLE of "Ghost" will fail
    }
    EXPECT_THROW(SaveLocation(ws, "Ghost", UniformGrid("1")), Error);
    EXPECT_FALSE(LocationExists(ws, "Ghost"));
}

TEST(IntensitySave, AListedLocationWhoseTableWentMissingGetsItBack) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    {
        Database db = OpenIntensityDb(ws);
        db.exec("DROP TABLE \"Lake Houston\"");
    }
    EXPECT_NE(ErrorMessageOf([&] { ReadLocationRows(ws, "Lake Houston"); }).find("does not exist"),
              std::string::npos);
    SaveLocation(ws, "Lake Houston", UniformGrid("2"));
    EXPECT_EQ(ReadLocationRows(ws, "Lake Houston").size(), 10u);
    EXPECT_EQ(ListLocations(ws).size(), 3u);
}

TEST(IntensityDailyRainfall, MissingTablesAndRowsAreNamedInTheMessage) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    EXPECT_NE(ErrorMessageOf([&] {
                  ReadTwoYearDailyIntensity(ws, "");
              }).find("No rainfall intensity table"),
              std::string::npos);
    EXPECT_NE(ErrorMessageOf([&] {
                  ReadTwoYearDailyIntensity(ws, "Nowhere");
              }).find("\"Nowhere\" does not exist"),
              std::string::npos);
    SaveLocation(ws, "Short", UniformGrid("1"));
    {
        Database db = OpenIntensityDb(ws);
        db.exec("UPDATE Short SET Duration = '24' WHERE ID = 10"); // not the exact text "24.0"
    }
    EXPECT_NE(
        ErrorMessageOf([&] { ReadTwoYearDailyIntensity(ws, "Short"); }).find("no 24-hour row"),
        std::string::npos);
}

TEST(IntensityCsv, ReadsTheShippedFormat) {
    const LocationFile file = ParseLocationCsv(kShippedCsv);
    EXPECT_EQ(file.name, "Test Hollow");
    EXPECT_EQ(file.provenance, "source: hand-made for a test\npoint: 1 N, 2 W");
    EXPECT_EQ(file.grid[0][0], "4.84");
    EXPECT_EQ(file.grid[1][2], "5.00");
    EXPECT_EQ(file.grid[9][6], "0.343");
}

TEST(IntensityCsv, MatchesColumnsByHeaderAndToleratesWindowsFiles) {
    std::string text = "\xEF\xBB\xBF# location: Shuffled\r\nduration_hours,100,1,2,5,10,25,50\r\n";
    for (const char* d : kDurationTexts)
        text += std::string(d) + ",7,1,2,3,4,5,6\r\n";
    const LocationFile file = ParseLocationCsv(text);
    EXPECT_EQ(file.name, "Shuffled");
    EXPECT_EQ(file.grid[4], (std::array<std::string, 7>{"1", "2", "3", "4", "5", "6", "7"}));
}

TEST(IntensityCsv, BadFilesAreRefusedWithTheLineAtFault) {
    const std::string good(kShippedCsv);
    const struct {
        std::string text;
        const char* says;
    } cases[] = {
        {"duration,1,2\n", "header"},
        {"# location: X\n", "no header"},
        {good.substr(0, good.rfind("24.0")), "no row for the duration 24.0"},
        {good + "0.25,1,1,1,1,1,1,1\n", "appears twice"},
        {good + "48.0,1,1,1,1,1,1,1\n", "not one of the ten"},
        {std::string(good).replace(good.find("5.58"), 4, "abc"), "line 5"},
        {std::string(good).replace(good.find("11.8"), 4, "-1"), "not a positive number"},
        {"duration_hours,1,2,5,10,25,100\n", "50-year"},
    };
    for (const auto& c : cases) {
        const std::string message = ErrorMessageOf([&] { ParseLocationCsv(c.text); });
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
    }
}

TEST(IntensitySave, OverwritingAShortTableRestoresItsMissingRows) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    {
        Database db = OpenIntensityDb(ws);
        db.exec("DELETE FROM \"Fort Myers\" WHERE ID > 7");
    }
    ASSERT_EQ(ReadLocationRows(ws, "Fort Myers").size(), 7u);
    SaveLocation(ws, "Fort Myers", UniformGrid("2.5"));
    const auto rows = ReadLocationRows(ws, "Fort Myers");
    ASSERT_EQ(rows.size(), 10u);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(rows[r].duration, kDurationTexts[r]);
        EXPECT_EQ(rows[r].values[6], "2.5");
    }
}
