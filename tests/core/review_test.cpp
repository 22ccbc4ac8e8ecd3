#include "TestSupport.h"
#include "core/Error.h"
#include "core/Settings.h"
#include "core/elements/ElementCalculations.h"
#include "core/elements/ElementRecords.h"
#include "core/hydraulics/OutletConveyance.h"
#include "core/report/ReportBuilder.h"
#include "core/report/RtfWriter.h"
#include "core/review/ProjectReview.h"
#include "core/review/ReviewChecks.h"
#include "core/settings/ProjectSettings.h"
#include "core/store/IntensityDb.h"
#include "core/store/ProjectDb.h"
#include "core/text/Json.h"
#include "report_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace pluvane;
using namespace pluvane::test;

namespace {

// A small project a reviewer passes: one sub-basin, one shallow flow path and one channel on
// the Atlanta table, every Tc and velocity as Calculate writes it. A row of the table below
// changes one thing of it.
struct ProjectPlan {
    BasinFields basin{"Roofs",
                      "1.2",
                      "Residential: Single Family areas",
                      "0.40",
                      "0.02",
                      "100",
                      "Smooth Surfaces (Asphalt, concrete, gravel, bare soil)",
                      "0.011",
                      ""};
    std::optional<SurfaceFields> surface = SurfaceFields{"Swale", "0.02", "300", "", "Unpaved", ""};
    std::optional<ChannelFields> channel =
        ChannelFields{"Ditch", "4.00", "6.47", "0.005", "600", "Earth Channel", "0.025", "", ""};
    // Both set nothing unless given: the project then uses a copy of Atlanta with this source
    // text and these cells changed.
    std::optional<std::string> provenance;
    std::function<void(IntensityGrid&)> editGrid;
    // An outlet conveyance, checked at the stored 10-year peak flow `designQ` ("" unsolved).
    std::optional<ConveyanceFields> conveyance;
    std::string designQ = "10";
};

// The outlet conveyance of the rows below: a 24 in concrete pipe or a 4 ft channel with 2:1
// sides. 24 in at S = 0.01 is full at 22.62 cfs and 7.20 ft/s.
ConveyanceFields outlet(const std::string& kind, const std::string& slope,
                        const std::string& diameter, const std::string& depth = "") {
    ConveyanceFields f;
    f.kind = kind;
    f.n = "0.013";
    f.slope = slope;
    f.sizeIt = diameter.empty();
    f.diameter = diameter;
    f.bottomWidth = "4";
    f.sideSlope = "2";
    f.availableDepth = depth;
    return f;
}

// Writes the project of a plan into ws; empty Tc and velocity texts are calculated (from the
// project's rainfall, so after it is chosen).
void buildProject(Workspace& ws, ProjectPlan plan) {
    std::string location = "Atlanta";
    if (plan.provenance || plan.editGrid) {
        const std::vector<IntensityRow> rows = ReadLocationRows(ws, "Atlanta");
        IntensityGrid grid;
        for (std::size_t r = 0; r < grid.size(); ++r)
            grid[r] = rows[r].values;
        if (plan.editGrid)
            plan.editGrid(grid);
        location = "Review Copy";
        SaveLocation(ws, location, grid, plan.provenance.value_or(ReadProvenance(ws, "Atlanta")));
    }
    SaveProjectSettings(ws, {"Review test", "J-1", "Engineer", "Manager", "today"},
                        {"Outfall", location}, false);

    BasinFields& b = plan.basin;
    if (b.tc.empty())
        b.tc = CalculateSheetFlowTc(ws, location, b.n, b.travelLength, b.slope);
    InsertBasin(ws, "Basin1", 900, 840, b);
    if (SurfaceFields* s = plan.surface ? &*plan.surface : nullptr) {
        if (s->velocity.empty() || s->tc.empty()) {
            const ShallowFlowTexts flow = CalculateShallowFlow(s->type, s->length, s->slope);
            s->velocity = s->velocity.empty() ? flow.velocity : s->velocity;
            s->tc = s->tc.empty() ? flow.tc : s->tc;
        }
        InsertSurface(ws, "Surface1", 1500, 2500, *s);
    }
    if (ChannelFields* c = plan.channel ? &*plan.channel : nullptr) {
        if (c->velocity.empty() || c->tc.empty()) {
            const ChannelFlowTexts flow = CalculateChannelFlow(
                c->area, c->wettedPerimeter, c->slope, c->n, c->length, ManningOrder::AddDialog);
            c->velocity = c->velocity.empty() ? flow.velocity : c->velocity;
            c->tc = c->tc.empty() ? flow.tc : c->tc;
        }
        InsertChannel(ws, "Channel1", 2100, 4000, *c);
    }
    if (plan.conveyance) {
        SaveOutletConveyance(ws, *plan.conveyance);
        Database db = OpenProjectDb(ws);
        db.exec("DELETE FROM TblResults");
        db.prepare("INSERT INTO TblResults (Qpeak_10) VALUES (?)").bind(1, plan.designQ).run();
    }
}

struct ReviewRow {
    const char* label;
    std::function<void(ProjectPlan&)> change;
    std::set<std::string> codes; // exactly these codes are found
};

std::ostream& operator<<(std::ostream& out, const ReviewRow& row) { return out << row.label; }

class ProjectReviewTest : public ::testing::TestWithParam<ReviewRow> {};

TEST_P(ProjectReviewTest, FindsExactlyItsChecks) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    ProjectPlan plan;
    GetParam().change(plan);
    buildProject(ws, plan);

    const std::vector<Finding> findings = ReviewProject(ws);
    std::set<std::string> codes;
    for (const Finding& f : findings) {
        codes.insert(f.code);
        EXPECT_EQ(f.reference, ReviewRuleOf(f.code).reference);
        EXPECT_EQ(f.severity, ReviewRuleOf(f.code).severity);
        EXPECT_FALSE(f.message.empty());
    }
    EXPECT_EQ(codes, GetParam().codes) << (findings.empty() ? "" : FindingLine(findings.front()));
}

const ReviewRow kReviewRows[] = {
    {"clean", [](ProjectPlan&) {}, {}},
    {"sheet150", [](ProjectPlan& s) { s.basin.travelLength = "150"; }, {"SHEET_LENGTH_100"}},
    {"sheet350", [](ProjectPlan& s) { s.basin.travelLength = "350"; }, {"SHEET_LENGTH_300"}},
    {"mccuen",
     [](ProjectPlan& s) {
         s.basin.nType = "Grass, Dense grass";
         s.basin.n = "0.24";
         s.basin.travelLength = "80"; // limit 100 sqrt(0.02) / 0.24 = 58.9 ft
     },
     {"SHEET_MCCUEN_SPIESS"}},
    {"percent", [](ProjectPlan& s) { s.basin.slope = "2"; }, {"SLOPE_PERCENT"}},
    {"flat", [](ProjectPlan& s) { s.channel->slope = "0.0002"; }, {"SLOPE_FLAT"}},
    {"czero", [](ProjectPlan& s) { s.basin.c = "0"; }, {"C_RANGE"}},
    {"cabove", [](ProjectPlan& s) { s.basin.c = "1.2"; }, {"C_RANGE", "CF_CAPPED"}},
    {"capped", [](ProjectPlan& s) { s.basin.c = "0.85"; }, {"CF_CAPPED"}},
    {"large", [](ProjectPlan& s) { s.basin.area = "250"; }, {"AREA_LARGE"}},
    {"noarea", [](ProjectPlan& s) { s.basin.area = "0"; }, {"AREA_ZERO"}},
    // Below 0 the solve refuses the project: said as such, never "every Q is 0".
    {"negativearea", [](ProjectPlan& s) { s.basin.area = "-1"; }, {"VALUE_REFUSED"}},
    {"negativetc",
     [](ProjectPlan& s) { s.surface->tc = "-2"; },
     {"VALUE_REFUSED", "TC_TYPED", "TC_SHORT"}},
    {"short",
     [](ProjectPlan& s) {
         s.surface.reset();
         s.channel.reset();
     },
     {"TC_SHORT"}},
    {"beyond", [](ProjectPlan& s) { s.channel->length = "300000"; }, {"TC_BEYOND_TABLE"}},
    {"typed", [](ProjectPlan& s) { s.basin.tc = "5"; }, {"TC_TYPED"}},
    {"typedmatching", [](ProjectPlan& s) { s.surface->tc = "2.19"; }, {"TC_TYPED"}},
    {"stale", [](ProjectPlan& s) { s.basin.tc = "2.0000"; }, {"TC_STALE"}},
    {"stalevelocity", [](ProjectPlan& s) { s.channel->velocity = "3.5000"; }, {"TC_STALE"}},
    {"typedwithoutinputs",
     [](ProjectPlan& s) {
         s.surface->type = "Gravel";
         s.surface->velocity = "0.0000";
         s.surface->tc = "4.0000";
     },
     {"TC_TYPED"}},
    {"ncustom", [](ProjectPlan& s) { s.basin.n = "0.02"; }, {"N_CUSTOM"}},
    {"nunlisted", [](ProjectPlan& s) { s.channel->material = "Riprap"; }, {"N_CUSTOM"}},
    {"nsame", [](ProjectPlan& s) { s.channel->n = "0.0250"; }, {}},
    {"nosource", [](ProjectPlan& s) { s.provenance = ""; }, {"RAIN_NO_SOURCE"}},
    {"edited",
     [](ProjectPlan& s) { s.provenance = "NOAA Atlas 14\nedited by hand on 2026-12-08"; },
     {"RAIN_EDITED"}},
    {"order",
     [](ProjectPlan& s) { s.editGrid = [](IntensityGrid& g) { g[4][3] = "0.10"; }; },
     {"RAIN_ORDER"}},
    {"pipe", [](ProjectPlan& s) { s.conveyance = outlet("Pipe", "0.01", "24"); }, {}},
    {"pipeunsolved",
     [](ProjectPlan& s) {
         s.conveyance = outlet("Pipe", "0.0001", "24");
         s.designQ = "";
     },
     {}},
    {"pipeslow",
     [](ProjectPlan& s) {
         s.conveyance = outlet("Pipe", "0.0001", "24");
         s.designQ = "1";
     },
     {"PIPE_FULL_SLOW", "CONVEYANCE_SLOW"}},
    // 2.3 ft/s full; half full as fast, above the 2 ft/s at the design flow.
    {"pipefullslow",
     [](ProjectPlan& s) {
         s.conveyance = outlet("Pipe", "0.001", "24");
         s.designQ = "3.5";
     },
     {"PIPE_FULL_SLOW"}},
    {"pipefast",
     [](ProjectPlan& s) {
         s.conveyance = outlet("Pipe", "0.08", "24");
         s.designQ = "50";
     },
     {"CONVEYANCE_FAST"}},
    {"pipeovercapacity",
     [](ProjectPlan& s) {
         s.conveyance = outlet("Pipe", "0.01", "24");
         s.designQ = "30";
     },
     {"CONVEYANCE_OVER_CAPACITY"}},
    {"nostandardsize",
     [](ProjectPlan& s) {
         s.conveyance = outlet("Pipe", "0.01", "");
         s.designQ = "100000";
     },
     {"CONVEYANCE_OVER_CAPACITY"}},
    {"channelshallow",
     [](ProjectPlan& s) {
         s.conveyance = outlet("Channel", "0.002", "", "1");
         s.designQ = "100";
     },
     {"CHANNEL_TOO_SHALLOW"}},
    {"channeldeepenough",
     [](ProjectPlan& s) {
         s.conveyance = outlet("Channel", "0.002", "", "5");
         s.designQ = "100";
     },
     {}},
};

INSTANTIATE_TEST_SUITE_P(Checks, ProjectReviewTest, ::testing::ValuesIn(kReviewRows),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(ProjectReview, EveryCheckOfTheTableIsTrippedByARow) {
    std::set<std::string> tripped;
    for (const ReviewRow& row : kReviewRows)
        tripped.insert(row.codes.begin(), row.codes.end());
    for (const ReviewRule& rule : kReviewRules)
        EXPECT_TRUE(tripped.count(std::string(rule.code))) << rule.code;
}

TEST(ProjectReview, MessagesNameTheValuesAndTheRule) {
    BasinFields f = ProjectPlan{}.basin;
    f.travelLength = "250";
    f.tc = "12";
    const std::vector<Finding> findings = ReviewBasin("Basin3", f, 4.32);
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(
        FindingLine(findings[0]),
        "warning Basin3 \"Roofs\": sheet-flow length 250 ft exceeds 100 ft (NRCS NEH 630 ch. 15, 2010)");
    EXPECT_EQ(findings[1].code, "TC_TYPED");
    EXPECT_NE(findings[1].message.find("Tc 12 min (its inputs give "), std::string::npos)
        << findings[1].message;
}

TEST(ProjectReview, CappedPeriodsAreNamed) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    ProjectPlan plan;
    plan.basin.c = "0.85"; // 0.85 x 1.2 and 0.85 x 1.25 exceed 1, 0.85 x 1.1 does not
    buildProject(ws, plan);
    const std::vector<Finding> findings = ReviewProject(ws);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].element, std::nullopt);
    EXPECT_EQ(findings[0].name, "Review test");
    EXPECT_NE(findings[0].message.find("50 and 100-year periods"), std::string::npos)
        << findings[0].message;
}

TEST(ProjectReview, WithoutRainfallATcIsOnlyJudgedByItsForm) {
    const BasinFields f = ProjectPlan{}.basin;
    BasinFields computed = f;
    computed.tc = "3.0000";
    EXPECT_TRUE(ReviewBasin("Basin1", computed, std::nullopt).empty());
    BasinFields typed = f;
    typed.tc = "3";
    const std::vector<Finding> findings = ReviewBasin("Basin1", typed, std::nullopt);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].code, "TC_TYPED");
}

TEST(ProjectReview, ReviewLeavesTheFileAlone) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    buildProject(ws, ProjectPlan{});
    ReviewProject(ws);
    EXPECT_EQ(LoadBasin(ws, "Basin1")->c, "0.40");
}

TEST(ProjectReview, AnUnreadableProjectThrows) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    ws.ProjectPath = WriteFile(folder, "notes.rmt", "not a project");
    EXPECT_THROW(ReviewProject(ws), Error);
}

TEST(ProjectReview, FindingsAsJson) {
    const std::vector<Finding> findings = {
        {"RAIN_EDITED", Severity::Note, std::nullopt, "Town \"A\"", "line1\nline2", "ref"},
        {"C_RANGE", Severity::Warning, "Basin1", "Lot", "C 0", "HEC"},
    };
    EXPECT_EQ(
        FindingsJson(findings),
        "{\"findings\": [{\"code\": \"RAIN_EDITED\", \"severity\": \"note\", \"element\": null, "
        "\"name\": \"Town \\\"A\\\"\", \"message\": \"line1\\nline2\", \"reference\": \"ref\"}, "
        "{\"code\": \"C_RANGE\", \"severity\": \"warning\", \"element\": \"Basin1\", \"name\": \"Lot\", "
        "\"message\": \"C 0\", \"reference\": \"HEC\"}]}");
    EXPECT_EQ(FindingsJson({}), "{\"findings\": []}");
    EXPECT_TRUE(HasWarning(findings, "Basin1"));
    EXPECT_FALSE(HasWarning(findings, "Basin2"));
}

// The section is added only when asked for, after the runoff-rate table, and leaves the rest of
// the report as it was.
TEST(ProjectReview, ReportSectionOnlyWhenAsked) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    ProjectPlan plan;
    plan.basin.travelLength = "150";
    buildProject(ws, plan);
    const std::string plain = WritePlainText(SolveAndRender(ws).document);
    ReportOptions options;
    options.reviewNotes = true;
    const std::string reviewed = WritePlainText(SolveAndRender(ws, options).document);
    EXPECT_EQ(plain.find("Review Notes"), std::string::npos);
    const std::size_t section = reviewed.find("Review Notes");
    ASSERT_NE(section, std::string::npos);
    EXPECT_GT(section, reviewed.find("Q(cfs)"));
    EXPECT_NE(
        reviewed.find("warning Basin1 \"Roofs\": sheet-flow length 150 ft exceeds 100 ft", section),
        std::string::npos);
    const std::size_t notice = reviewed.find("It's the engineer's responsibility");
    EXPECT_EQ(reviewed.substr(notice),
              plain.substr(plain.find("It's the engineer's responsibility")));
    EXPECT_EQ(reviewed.substr(0, section).find(plain.substr(0, plain.find("Q(cfs)"))), 0u);
}

TEST(ProjectReview, TheSettingIsOffUnlessItReadsOne) {
    TempFolder folder;
    const std::string path = folder.file("pluvane.conf");
    EXPECT_FALSE(ReportReviewNotesEnabled(Settings::load(path)));
    for (const auto& [text, on] :
         std::vector<std::pair<std::string, bool>>{{"ReportReviewNotes=1\n", true},
                                                   {"ReportReviewNotes=0\n", false},
                                                   {"ReportRainfallSource=1\n", false}}) {
        WriteFile(folder, "pluvane.conf", text);
        EXPECT_EQ(ReportReviewNotesEnabled(Settings::load(path)), on) << text;
    }
    Settings settings = Settings::load(path);
    SetReportReviewNotes(settings, true);
    settings.save();
    EXPECT_TRUE(ReportReviewNotesEnabled(Settings::load(path)));
    EXPECT_TRUE(ReportRainfallSourceEnabled(Settings::load(path))); // the other key is kept
}

struct JsonRow {
    std::string text;
    std::string json;
};

class JsonStringTest : public ::testing::TestWithParam<JsonRow> {};

TEST_P(JsonStringTest, Escapes) { EXPECT_EQ(JsonString(GetParam().text), GetParam().json); }

INSTANTIATE_TEST_SUITE_P(
    Texts, JsonStringTest,
    ::testing::Values(JsonRow{"", "\"\""}, JsonRow{"a\"b\\c", "\"a\\\"b\\\\c\""},
                      JsonRow{"\t\r\n\b\f", "\"\\t\\r\\n\\b\\f\""},
                      JsonRow{std::string("\x01\x1f\x7f", 3), "\"\\u0001\\u001f\\u007f\""},
                      JsonRow{std::string("\0", 1), "\"\\u0000\""},
                      JsonRow{"caf\xC3\xA9 \xE2\x80\x94 \xF0\x9F\x8C\xA7",
                              "\"caf\xC3\xA9 \xE2\x80\x94 \xF0\x9F\x8C\xA7\""},
                      JsonRow{"\xE9t\xC3", "\"\xEF\xBF\xBDt\xEF\xBF\xBD\""},
                      JsonRow{"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
                      JsonRow{"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
                      // C1 controls drive a terminal as ESC does.
                      JsonRow{"a\xC2\x9B"
                              "b\xC2\xA0",
                              "\"a\\u009bb\xC2\xA0\""}));

TEST(JsonNumber, ShortestAndFinite) {
    EXPECT_EQ(JsonNumber(0.1), "0.1");
    EXPECT_EQ(JsonNumber(-2.5), "-2.5");
    EXPECT_EQ(JsonNumber(1e21), "1e+21");
    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::infinity()), "null");
    EXPECT_EQ(JsonNumber(std::nan("")), "null");
}

} // namespace
