#include "TestSupport.h"
#include "core/Error.h"
#include "core/solve/SolveEngine.h"
#include "core/solve/SolveProject.h"
#include "core/store/ProjectDb.h"
#include "core/text/NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

using namespace pluvane;
using namespace pluvane::test;

namespace {

std::vector<Record> storedResults(const Workspace& ws) {
    Database db = OpenProjectDb(ws);
    Statement q = db.prepare("SELECT * FROM TblResults");
    return readAll(q);
}

// Atlanta's shipped rows, 2-year column: 5 min 5.58, 10 min 4.09, 15 min 3.32, 30 min 2.40.
constexpr std::size_t kTwoYear = 1;

} // namespace

TEST(SolveFactors, FrequencyFactorAndMinimum) {
    const std::pair<std::int16_t, double> factors[] = {{1, 1.0},  {2, 1.0},  {5, 1.0},    {10, 1.0},
                                                       {25, 1.1}, {50, 1.2}, {100, 1.25}, {3, 1.0}};
    for (const auto& [period, cf] : factors)
        EXPECT_DOUBLE_EQ(FrequencyFactor(period), cf) << period;
    EXPECT_DOUBLE_EQ(MinOf(1.08, 1.0), 1.0);
    EXPECT_DOUBLE_EQ(MinOf(0.99, 1.0), 0.99);
    EXPECT_DOUBLE_EQ(MinOf(1.0, 1.0), 1.0);
}

TEST(SolveWorkedExample, UniformFiveInchesGivesTheTextbookFlowsAndStoresThem) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    SaveLocation(ws, "Uniform", UniformGrid("5.0"));
    const SolveResult result = ComputeResults(ws, "Uniform", 10.0, 0.9, 20.0);
    const float expected[] = {45, 45, 45, 45, 49.5f, 50, 50};
    for (std::size_t k = 0; k < 7; ++k) {
        EXPECT_FLOAT_EQ(result.I[k], 5.0f);
        EXPECT_FLOAT_EQ(result.Q[k], expected[k]) << ReturnPeriods[k];
    }
    const auto rows = storedResults(ws);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text("Qpeak_1"), "45.0000");
    EXPECT_EQ(rows[0].text("IVal_1"), "5.0000");
    EXPECT_EQ(rows[0].text("Ival_2"), "5");
    EXPECT_EQ(rows[0].text("Qpeak_25"), "49.5");
    EXPECT_EQ(rows[0].text("Qpeak_50"), "50");
    EXPECT_EQ(rows[0].text("Qpeak_100"), "50");
    EXPECT_EQ(SolveNote(result), "");
}

TEST(SolveWorkedExample, CoefficientIsCappedPerPeriodOnly) {
    const std::vector<IntensityRow> rows(10,
                                         IntensityRow{"1.0", {"5", "5", "5", "5", "5", "5", "5"}});
    std::vector<IntensityRow> table = rows;
    for (std::size_t r = 0; r < table.size(); ++r)
        table[r].duration = kDurationTexts[r];
    const SolveResult result = SolveFromRows(table, 1.0, 0.8, 20.0);
    const double ce[] = {0.8, 0.8, 0.8, 0.8, 0.88, 0.96, 1.0};
    for (std::size_t k = 0; k < 7; ++k)
        EXPECT_NEAR(result.Q[k], 5.0 * ce[k], 1e-6) << ReturnPeriods[k];
}

TEST(SolveLookup, BelowTheFirstDurationTheFirstRowFromItOnInterpolated) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    const auto rows = ReadLocationRows(ws, "Atlanta");
    // By hand, Atlanta's 2-year column: 5.58 at 5 min (0.083333 h), 4.09 at 10 min (0.166667 h);
    // I = 5.58 + (4.09 - 5.58) * (Tc/60 - 0.083333) / (0.166667 - 0.083333).
    const struct {
        double tc;
        double twoYear;
        SolveOutcome outcome;
    } cases[] = {
        {0.0, 5.58, SolveOutcome::TableRow}, // nothing has a Tc: the 5-minute row
        {3.0, 5.58, SolveOutcome::TableRow},
        {5.0, 5.57999, SolveOutcome::Interpolated}, // 5/60 h is just above the stored 0.083333
        {7.0, 4.98400, SolveOutcome::Interpolated}, // 100-year: 10.536, no longer 8.64
        {9.99, 4.09299, SolveOutcome::Interpolated},
        {10.0, 4.09001, SolveOutcome::Interpolated}, // 10/60 h is just below 0.166667
    };
    for (const auto& c : cases) {
        const SolveResult result = SolveFromRows(rows, 1.0, 1.0, c.tc);
        EXPECT_NEAR(result.I[kTwoYear], c.twoYear, 2e-5) << "Tc " << c.tc;
        EXPECT_EQ(result.outcome, c.outcome) << "Tc " << c.tc;
    }
    EXPECT_NEAR(SolveFromRows(rows, 1.0, 1.0, 7.0).I[6], 10.536, 1e-4);
}

// Over every shipped table, from no Tc to past a day in steps of 0.1 min: no intensity rises as
// Tc grows, and none jumps. A step may change an intensity by at most the table's steepest
// slope over 0.1 min (the old lookup fell by 27 % at 5 minutes).
TEST(SolveLookup, IntensityNeverRisesNorJumpsAsTcGrows) {
    TempFolder folder;
    const Workspace ws = MakeWorkspace(folder);
    const std::vector<std::string> locations = ListLocations(ws);
    ASSERT_FALSE(locations.empty());
    for (const std::string& location : locations) {
        const auto rows = ReadLocationRows(ws, location);
        std::array<double, 7> steepest{}; // in/hr per minute
        for (std::size_t r = 1; r < rows.size(); ++r)
            for (std::size_t k = 0; k < 7; ++k)
                steepest[k] = std::max(
                    steepest[k],
                    (ParseLenient(rows[r - 1].values[k]) - ParseLenient(rows[r].values[k])) /
                        ((ParseLenient(rows[r].duration) - ParseLenient(rows[r - 1].duration)) *
                         60.0));
        SolveResult before = SolveFromRows(rows, 1.0, 1.0, 0.0);
        for (int step = 1; step <= 15000; ++step) {
            const double tc = step / 10.0;
            const SolveResult now = SolveFromRows(rows, 1.0, 1.0, tc);
            for (std::size_t k = 0; k < 7; ++k) {
                const double fall = before.I[k] - now.I[k];
                ASSERT_GE(fall, -1e-5) << location << " rises at Tc " << tc << ", period " << k;
                ASSERT_LE(fall, steepest[k] * 0.1 * 1.001 + 1e-5)
                    << location << " jumps at Tc " << tc << ", period " << k;
            }
            before = now;
        }
    }
}

TEST(SolveLookup, InterpolatesLinearlyInDurationBetweenTheBracketRows) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    const auto rows = ReadLocationRows(ws, "Atlanta");

    // 12 minutes: (0.2 - D0) / (0.25 - D0) of the way from 10 to 15 minutes, D0 the single value
    // of 0.166667, which is very nearly two fifths.
    const SolveResult at12 = SolveFromRows(rows, 1.0, 1.0, 12.0);
    EXPECT_EQ(at12.outcome, SolveOutcome::Interpolated);
    const double d0 = static_cast<double>(0.166667f);
    const double fraction = (0.2 - d0) / (0.25 - d0);
    EXPECT_NEAR(fraction, 0.4, 1e-5);
    EXPECT_NEAR(at12.I[kTwoYear], 4.09 + (3.32 - 4.09) * fraction, 2e-6);
    EXPECT_NEAR(at12.I[kTwoYear], 3.782, 2e-5);

    // 15 minutes lies on a row: bracket 15 to 30 minutes with a zero fraction.
    const SolveResult at15 = SolveFromRows(rows, 1.0, 1.0, 15.0);
    EXPECT_EQ(at15.I[kTwoYear], 3.32f);
    EXPECT_EQ(at15.I[6], 7.00f);

    // 45 minutes: halfway between 30 minutes (2.40) and 1 hour (1.57).
    const SolveResult at45 = SolveFromRows(rows, 1.0, 1.0, 45.0);
    EXPECT_NEAR(at45.I[kTwoYear], (2.40 + 1.57) / 2, 1e-6);
}

TEST(SolveLookup, TcAtOrBeyondTheTableTakesTheLastRowAndSaysSo) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    const auto rows = ReadLocationRows(ws, "Atlanta");
    for (double tc : {1440.0, 1441.0, 5000.0}) {
        const SolveResult result = SolveFromRows(rows, 2.0, 0.5, tc);
        EXPECT_EQ(result.outcome, SolveOutcome::BeyondTable) << tc;
        EXPECT_EQ(result.I[kTwoYear], 0.160f);
        EXPECT_NE(SolveNote(result).find("24 hr"), std::string::npos) << SolveNote(result);
    }
    const SolveResult justBelow = SolveFromRows(rows, 2.0, 0.5, 1439.0);
    EXPECT_EQ(justBelow.outcome, SolveOutcome::Interpolated);
    EXPECT_GT(justBelow.I[kTwoYear], 0.160f);
}

TEST(SolveLookup, ShortTablesNeverReadPastTheirEnd) {
    const std::vector<IntensityRow> one{{"1.0", {"2", "2", "2", "2", "2", "2", "2"}}};
    EXPECT_EQ(SolveFromRows(one, 1.0, 1.0, 30.0).outcome, SolveOutcome::TableRow);
    const SolveResult beyond = SolveFromRows(one, 1.0, 1.0, 90.0);
    EXPECT_EQ(beyond.outcome, SolveOutcome::BeyondTable);
    EXPECT_EQ(beyond.I[0], 2.0f);
    EXPECT_THROW(SolveFromRows({}, 1.0, 1.0, 10.0), Error);
    EXPECT_THROW(SolveFromRows(one, std::nan(""), 1.0, 10.0), Error);
    EXPECT_THROW(SolveFromRows(one, 1.0, 1.0, INFINITY), Error);
    EXPECT_THROW(SolveFromRows(one, 1e300, 1.0, 10.0), Error);
}

TEST(SolveStore, ZeroAreaOrCoefficientStillStoresTheIntensities) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    for (const auto& [a, c] : {std::pair{0.0, 0.9}, std::pair{10.0, 0.0}}) {
        const SolveResult result = ComputeResults(ws, "Atlanta", a, c, 15.0);
        const auto rows = storedResults(ws);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].text("Ival_1"), "2.8800");
        EXPECT_EQ(rows[0].text("Qpeak_1"), "0.0000");
        EXPECT_EQ(rows[0].text("Qpeak_100"), "0");
        EXPECT_EQ(result.Q[6], 0.0f);
    }
}

TEST(SolveStore, ASecondSolveOverwritesTheRowAndAddsNone) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    ComputeResults(ws, "Atlanta", 10.0, 0.9, 15.0);
    ComputeResults(ws, "Atlanta", 3.0, 0.5, 60.0);
    const auto rows = storedResults(ws);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text("Ival_1"), "1.3600");
    EXPECT_EQ(rows[0].text("Qpeak_1"), "2.0400"); // 3 * 1.36 * 0.5
}

TEST(SolveStore, UnparsableCellsRefuseTheSolveInsteadOfCountingAsZero) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    IntensityGrid grid = UniformGrid("4");
    for (auto& row : grid)
        row[2] = "n/a";
    SaveLocation(ws, "Patchy", grid);
    EXPECT_EQ(ErrorMessageOf([&] { ComputeResults(ws, "Patchy", 1.0, 1.0, 30.0); }),
              "The rainfall table \"Patchy\" cannot be used: its intensity for 30 min and 5 years "
              "(\"n/a\") is not a number. Correct the table before solving.");
}

TEST(SolveStore, AProjectWithoutAResultsTableGetsOne) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    {
        Database db = OpenProjectDb(ws);
        db.exec("DROP TABLE TblResults");
    }
    ComputeResults(ws, "Atlanta", 1.0, 1.0, 15.0);
    EXPECT_EQ(storedResults(ws).size(), 1u);
}

TEST(SolveStore, AMissingOrEmptyTableFailsClearlyAndKeepsTheOldResults) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    ComputeResults(ws, "Atlanta", 1.0, 1.0, 15.0);
    EXPECT_THROW(ComputeResults(ws, "Nowhere", 5.0, 1.0, 15.0), Error);
    EXPECT_THROW(ComputeResults(ws, "", 5.0, 1.0, 15.0), Error);
    SaveLocation(ws, "Emptied", UniformGrid("1"));
    {
        Database db = OpenIntensityDb(ws);
        db.exec("DELETE FROM Emptied");
    }
    try {
        ComputeResults(ws, "Emptied", 5.0, 1.0, 15.0);
        ADD_FAILURE() << "an empty table must not solve";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("has no rows"), std::string::npos);
    }
    EXPECT_EQ(storedResults(ws)[0].text("Qpeak_1"), "2.8800");
}
