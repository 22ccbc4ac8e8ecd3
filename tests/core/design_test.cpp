// The design flow a reviewer checks: a published worked example solved end to end, the minimum
// Tc, the design basis and the recompute of computed Tc.
#include "TestSupport.h"
#include "core/Error.h"
#include "core/elements/ElementRecords.h"
#include "core/elements/RecomputeTc.h"
#include "core/report/DesignBasis.h"
#include "core/settings/DesignSettings.h"
#include "core/store/ProjectDb.h"
#include "core/text/NumberText.h"
#include "report_support.h"

#include <gtest/gtest.h>

namespace pluvane::test {
namespace {

void exec(const Workspace& ws, const std::string& sql) { OpenProjectDb(ws).exec(sql); }

// TR-55 (1986) Example 3-1: sheet flow 100 ft of dense grass (n 0.24) at s 0.01 with P2 3.6 in,
// shallow concentrated flow 1400 ft unpaved at s 0.01, channel flow 7300 ft (a 27 sq ft,
// pw 28.2 ft, s 0.005, n 0.05). Its worksheet gives 0.30, 0.24 and 0.99 h, Tc 1.53 h, each
// rounded to 0.01 h: the tolerance here is that rounding, 0.005 h a segment and in all.
// The Tc start as "0.0000", a value Calculate could have written, so the recompute fills them.
Workspace MakeTr55Example(const TempFolder& folder) {
    Workspace ws = MakeWorkspace(folder);
    IntensityGrid grid = UniformGrid("1.0");
    grid[9][1] = "0.15"; // 2-year 24-hour intensity: P2 = 0.15 * 24 = 3.6 in
    SaveLocation(ws, "Example 3-1", grid);
    InsertProjectRows(ws, "Example 3-1");
    InsertBasin(ws, "Basin1", 480, 480,
                {"Sheet", "10", "Pasture", "0.3", "0.01", "100", "Dense grass", "0.24", "0.0000"});
    InsertSurface(ws, "Surface1", 600, 1680,
                  {"Shallow", "0.01", "1400", "0.0000", "Unpaved", "0.0000"});
    InsertChannel(ws, "Channel1", 480, 2520,
                  {"Channel", "27", "28.2", "0.005", "7300", "Earth", "0.05", "0.0000", "0.0000"});
    return ws;
}

TEST(DesignFlow, Tr55Example3_1RecomputedAndSolved) {
    TempFolder folder;
    const Workspace ws = MakeTr55Example(folder);
    const std::vector<TcRecomputed> plan = PlanTcRecompute(ws, "Example 3-1");
    ASSERT_EQ(plan.size(), 3u);
    const double published[] = {0.30, 0.24, 0.99}; // hours
    for (std::size_t i = 0; i < plan.size(); ++i) {
        EXPECT_TRUE(plan[i].changed()) << plan[i].name << ": " << plan[i].kept;
        EXPECT_NEAR(ParseLenient(plan[i].newTc) / 60.0, published[i], 0.005) << plan[i].name;
    }
    ApplyTcRecompute(ws, plan);
    EXPECT_EQ(LoadBasin(ws, "Basin1")->tc, plan[0].newTc) << "written to the file";

    const ProjectSolve solve = SolveProject(ws);
    ASSERT_TRUE(solve.solved()) << solve.failure;
    EXPECT_NEAR(solve.inputs.totalTc / 60.0, 1.53, 0.005);
    const DesignBasis basis = DescribeDesign(solve);
    EXPECT_EQ(basis.intensityMethod, "interpolated between the 1 hr and 2 hr rows");
    EXPECT_NEAR(*basis.p2, 3.6, 1e-9);
    EXPECT_EQ(basis.basinP2.front().second, "computed with this P2");
}

TEST(DesignFlow, RecomputeKeepsTypedValuesAndFollowsTheTable) {
    TempFolder folder;
    Workspace ws = MakeTr55Example(folder);
    ApplyTcRecompute(ws, PlanTcRecompute(ws, "Example 3-1"));
    exec(ws, "UPDATE TblSurfaceInfo SET SurfTc = '15'"); // typed: not Calculate's form
    IntensityGrid wetter = UniformGrid("1.0");
    wetter[9][1] = "0.2"; // P2 4.8 in: sheet flow is faster
    SaveLocation(ws, "Wetter", wetter);
    const std::vector<TcRecomputed> plan = PlanTcRecompute(ws, "Wetter");
    EXPECT_TRUE(plan[0].changed());
    EXPECT_LT(ParseLenient(plan[0].newTc), ParseLenient(plan[0].oldTc));
    EXPECT_EQ(plan[1].kept, "typed");
    EXPECT_FALSE(plan[2].changed()) << "channel flow does not depend on the rainfall";
    // The design basis says the stored sheet-flow Tc no longer matches the table's P2.
    exec(ws, "UPDATE TblNodeInfo SET IntensityTable = 'Wetter'");
    EXPECT_NE(DescribeDesign(SolveProject(ws)).basinP2.front().second.find("does not match"),
              std::string::npos);
}

TEST(DesignFlow, MinimumTcIsStoredAppliedAndSaid) {
    TempFolder folder;
    Workspace ws = MakeWorkedProject(folder); // total Tc 34.639 min
    EXPECT_FALSE(LoadMinimumTc(ws)) << "a file without the setting has none";
    exec(ws, "DROP TABLE TblDesignSettings");
    EXPECT_FALSE(LoadMinimumTc(ws)) << "an older file without the table has none";

    const struct {
        std::optional<double> minimum;
        double tcUsed;
        bool applied;
    } cases[] = {{std::nullopt, 34.639, false}, {10.0, 34.639, false}, {60.0, 60.0, true}};
    for (const auto& c : cases) {
        SaveMinimumTc(ws, c.minimum);
        EXPECT_EQ(LoadMinimumTc(ws), c.minimum) << "read back";
        const ProjectSolve solve = SolveProject(ws);
        EXPECT_NEAR(solve.tcUsed, c.tcUsed, 1e-3);
        EXPECT_NEAR(solve.result->tcHours * 60.0, c.tcUsed, 1e-3) << "the engine read it there";
        const DesignBasis basis = DescribeDesign(solve);
        EXPECT_EQ(basis.minimumApplied, c.applied);
        EXPECT_EQ(basis.intensityMethod.rfind("minimum Tc of 60 min applied; ", 0) == 0, c.applied);
    }
}

TEST(DesignFlow, MinimumTcTexts) {
    const std::pair<const char*, std::optional<double>> good[] = {{"none", std::nullopt},
                                                                  {"NONE", std::nullopt},
                                                                  {"", std::nullopt},
                                                                  {" 5 ", 5.0},
                                                                  {"7.5", 7.5}};
    for (const auto& [text, value] : good)
        EXPECT_EQ(ParseMinimumTc(text), value) << text;
    for (const char* bad : {"0", "-5", "ten", "5 min", "inf", "nan"})
        EXPECT_THROW(ParseMinimumTc(bad), Error) << bad;
    EXPECT_EQ(MinimumTcText(std::nullopt), "none");
    EXPECT_EQ(MinimumTcText(7.5), "7.5");
}

TEST(DesignFlow, TheCapIsMarkedOnlyWhereCTimesCfExceedsOne) {
    TempFolder folder;
    Workspace ws = MakeWorkedProject(folder);
    exec(ws, "UPDATE TblBasinInfo SET CVal = '0.85'"); // C x Cf: 0.935, 1.02, 1.0625
    const DesignBasis basis = DescribeDesign(SolveProject(ws));
    ASSERT_EQ(basis.periods.size(), 7u);
    for (const DesignBasis::Period& p : basis.periods) {
        EXPECT_EQ(p.capped, p.years == 50 || p.years == 100) << p.years;
        EXPECT_LE(p.cCf, 1.0);
    }
    const std::string text =
        SolveAndRender(ws, ReportOptions{false, false, true}).document.plainText();
    EXPECT_NE(text.find("C x Cf\t0.850\t0.850\t0.850\t0.850\t0.935\t1.000*\t1.000*"),
              std::string::npos)
        << text;
}

} // namespace
} // namespace pluvane::test
