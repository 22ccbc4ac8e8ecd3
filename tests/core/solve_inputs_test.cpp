// The solve's inputs read without a report: the live rows of each kind with their tags, the
// subtotals, and the three values the engine takes, which must be the ones the report prints.
#include "core/Error.h"
#include "core/report/ReportBuilder.h"
#include "core/solve/SolveInputs.h"
#include "core/solve/SolveProject.h"
#include "core/store/ProjectDb.h"
#include "report_support.h"

#include <gtest/gtest.h>

using namespace pluvane;
using namespace pluvane::test;

namespace {

void exec(const Workspace& ws, const std::string& sql) {
    Database db = OpenProjectDb(ws);
    db.exec(sql);
}

TEST(SolveInputs, TheWorkedProjectReadsAsTheReportTotalsIt) {
    TempFolder folder;
    const Workspace ws = MakeWorkedProject(folder);
    const SolveInputs in = CollectSolveInputs(ws);
    ASSERT_EQ(in.basins.size(), 2u);
    ASSERT_EQ(in.surfaces.size(), 2u);
    ASSERT_EQ(in.channels.size(), 2u);
    EXPECT_EQ(in.basins[1].tag, "Basin2");
    EXPECT_EQ(in.basins[1].fields.name, "Lawn Strip");
    EXPECT_EQ(in.surfaces[0].fields.type, "Unpaved");
    EXPECT_EQ(in.channels[1].fields.material, "Grass");
    EXPECT_DOUBLE_EQ(in.channels[0].velocity, 4.5678);
    // A = 2.5 + 1.5; C = 2.5/4 * 0.95 + 1.5/4 * 0.1 = 0.63125.
    EXPECT_DOUBLE_EQ(in.totalArea, 4.0);
    EXPECT_DOUBLE_EQ(in.basins[0].share, 0.625);
    EXPECT_DOUBLE_EQ(in.averageC, 0.63125);
    EXPECT_DOUBLE_EQ(in.overlandTc, 1.52 + 20.3);
    EXPECT_DOUBLE_EQ(in.shallowTc, 5.1647 + 1.1597);
    EXPECT_DOUBLE_EQ(in.channelTc, 1.0946 + 5.4);
    EXPECT_DOUBLE_EQ(in.totalTc, in.overlandTc + in.shallowTc + in.channelTc);
    EXPECT_DOUBLE_EQ(in.overlandLength, 250.0);
    EXPECT_DOUBLE_EQ(in.shallowLength, 700.0);
    EXPECT_DOUBLE_EQ(in.channelLength, 700.0);
}

TEST(SolveInputs, CollectingWritesNothingAndSolvingStoresWhatTheReportStores) {
    TempFolder folder;
    const Workspace ws = MakeWorkedProject(folder);
    const SolveInputs in = CollectSolveInputs(ws);
    {
        Database db = OpenProjectDb(ws);
        Statement count = db.prepare("SELECT COUNT(*) FROM TblResults");
        ASSERT_TRUE(count.step());
        EXPECT_EQ(count.integer(0), 0);
    }
    const ProjectSolve solve = SolveProject(ws);
    ASSERT_TRUE(solve.solved());
    EXPECT_EQ(solve.failure, "");
    EXPECT_EQ(solve.inputs.totalTc, in.totalTc);
    const SolvedReport report = SolveAndRender(ws);
    ASSERT_TRUE(report.solve.has_value());
    EXPECT_EQ(report.solve->Q, solve.result->Q);
    EXPECT_EQ(RenderReport(solve), report.document);
}

// A kind without live rows is left out, as the report leaves out its section.
struct FlagCase {
    bool overland, shallow, channel;
    std::size_t basins, surfaces, channels;
    double totalArea, totalTc;
};

class SolveInputsFlags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(SolveInputsFlags, OnlyLiveKindsCount) {
    const FlagCase c = GetParam();
    TempFolder folder;
    Workspace ws = MakeWorkedProject(folder);
    const std::pair<bool, const char*> kinds[] = {
        {c.overland, "TblBasinInfo"}, {c.shallow, "TblSurfaceInfo"}, {c.channel, "TblChannelInfo"}};
    for (const auto& [live, table] : kinds)
        if (!live)
            exec(ws, std::string("UPDATE ") + table + " SET Deleted = 'True'");
    const SolveInputs in = CollectSolveInputs(ws);
    EXPECT_EQ(in.hasOverland, c.overland);
    EXPECT_EQ(in.hasShallow, c.shallow);
    EXPECT_EQ(in.hasChannel, c.channel);
    EXPECT_EQ(in.basins.size(), c.basins);
    EXPECT_EQ(in.surfaces.size(), c.surfaces);
    EXPECT_EQ(in.channels.size(), c.channels);
    EXPECT_DOUBLE_EQ(in.totalArea, c.totalArea);
    EXPECT_NEAR(in.totalTc, c.totalTc, 1e-12);
    EXPECT_EQ(in.averageC == 0.0, c.totalArea == 0.0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SolveInputsFlags,
                         ::testing::Values(FlagCase{true, false, false, 2, 0, 0, 4.0, 21.82},
                                           FlagCase{false, true, false, 0, 2, 0, 0.0, 6.3244},
                                           FlagCase{false, false, true, 0, 0, 2, 0.0, 6.4946},
                                           FlagCase{false, false, false, 0, 0, 0, 0.0, 0.0}));

TEST(SolveInputs, DeletedRowsMissingColumnsAndTextsCountAsTheReportCountsThem) {
    TempFolder folder;
    Workspace ws = MakeWorkedProject(folder);
    exec(ws, "UPDATE TblBasinInfo SET Deleted = 'True' WHERE BasinTag = 'Basin1'");
    exec(ws, "ALTER TABLE TblChannelInfo DROP COLUMN ChannelMaterial");
    exec(ws, "UPDATE TblSurfaceInfo SET SurfTc = '2.5 min' WHERE SurfTag = 'Surface1'");
    exec(ws, "UPDATE TblSurfaceInfo SET SurfTc = NULL WHERE SurfTag = 'Surface2'");
    const SolveInputs in = CollectSolveInputs(ws);
    ASSERT_EQ(in.basins.size(), 1u);
    EXPECT_EQ(in.basins[0].tag, "Basin2");
    EXPECT_DOUBLE_EQ(in.averageC, 0.1);
    EXPECT_EQ(in.channels[0].fields.material, "");
    EXPECT_EQ(in.surfaces[0].fields.tc, "2.5 min");
    EXPECT_DOUBLE_EQ(in.shallowTc, 2.5);
}

TEST(SolveInputs, AFailedSolveGivesItsReason) {
    TempFolder folder;
    Workspace ws = MakeWorkedProject(folder);
    SolveOptions options;
    options.location = "Nowhere";
    const ProjectSolve solve = SolveProject(ws, options);
    EXPECT_FALSE(solve.solved());
    EXPECT_NE(solve.failure.find("Nowhere"), std::string::npos);
}

// Values no site has are refused by the solve, naming the element, and nothing is stored.
struct UnphysicalCase {
    const char* label;
    const char* sql;
    const char* message; // "" when the project solves
};

class SolveRefusesUnphysical : public ::testing::TestWithParam<UnphysicalCase> {};

TEST_P(SolveRefusesUnphysical, NamesTheElementAndStoresNothing) {
    TempFolder folder;
    Workspace ws = MakeWorkedProject(folder);
    exec(ws, GetParam().sql);
    const ProjectSolve attempt = SolveProject(ws);
    EXPECT_EQ(attempt.failure, GetParam().message);
    EXPECT_EQ(attempt.result.has_value(), *GetParam().message == '\0');
    Database db = OpenProjectDb(ws);
    Statement count = db.prepare("SELECT COUNT(*) FROM TblResults");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.integer(0), attempt.result ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SolveRefusesUnphysical,
    ::testing::Values(
        UnphysicalCase{
            "negative_area", "UPDATE TblBasinInfo SET Area = '-1' WHERE BasinTag = 'Basin2'",
            "Sub-basin 'Lawn Strip': the area -1 is below 0; correct it before solving."},
        UnphysicalCase{"negative_surface_tc",
                       "UPDATE TblSurfaceInfo SET SurfTc = '-0.5' WHERE SurfTag = 'Surface2'",
                       "Shallow flow segment 'Gutter': the Tc -0.5 is below 0; correct it before "
                       "solving."},
        UnphysicalCase{
            "c_above_one",
            "UPDATE TblBasinInfo SET CVal = '1.01', BasinName = ' ' "
            "WHERE BasinTag = 'Basin2'",
            "Sub-basin 'Basin2': the run-off coefficient 1.01 is outside 0 to 1; correct "
            "it before solving."},
        UnphysicalCase{"c_negative", "UPDATE TblBasinInfo SET CVal = '-0.2'",
                       "Sub-basin 'North Lot': the run-off coefficient -0.2 is outside 0 to 1; "
                       "correct it before solving."},
        UnphysicalCase{"negative_channel_tc",
                       "UPDATE TblChannelInfo SET ChannelTc = '-5' WHERE ChannelTag = 'Channel2'",
                       "Channel segment 'Ditch': the Tc -5 is below 0; correct it before "
                       "solving."},
        UnphysicalCase{"zero_area_and_c_solve", "UPDATE TblBasinInfo SET Area = '0', CVal = '0'",
                       ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(SolveInputs, AnUnreadableProjectIsAnError) {
    TempFolder folder;
    Workspace ws = MakeWorkedProject(folder);
    ws.ProjectPath = folder.file("absent.rmt");
    EXPECT_THROW(CollectSolveInputs(ws), Error);
}

} // namespace
