// The report builder: the document it writes (compared in the compact dump form of
// report_support.h, so that a failing comparison shows a readable diff), the numbers it prints,
// the solve it runs, and the projects that lack data.
#include "core/Error.h"
#include "core/Settings.h"
#include "core/elements/ElementRecords.h"
#include "core/hydraulics/OutletConveyance.h"
#include "core/report/ReportBuilder.h"
#include "core/report/ReportNotes.h"
#include "core/report/ReportStyle.h"
#include "core/store/ProjectDb.h"
#include "report_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace pluvane;
using namespace pluvane::test;

namespace {

// The paragraph texts of a document, in order.
std::vector<std::string> texts(const RichDocument& document) {
    std::vector<std::string> lines;
    for (const Paragraph& paragraph : document.paragraphs)
        lines.push_back(paragraph.text());
    return lines;
}

bool hasParagraph(const RichDocument& document, const std::string& text) {
    const auto lines = texts(document);
    return std::find(lines.begin(), lines.end(), text) != lines.end();
}

// The index of the paragraph whose text is `text`; fails the test when there is none.
std::size_t indexOf(const RichDocument& document, const std::string& text) {
    const auto lines = texts(document);
    const auto found = std::find(lines.begin(), lines.end(), text);
    EXPECT_NE(found, lines.end()) << "no paragraph \"" << text << "\"";
    return static_cast<std::size_t>(found - lines.begin());
}

// The paragraph texts strictly between the first paragraph `after` and the next `before`.
std::vector<std::string> textsBetween(const RichDocument& document, const std::string& after,
                                      const std::string& before) {
    const auto lines = texts(document);
    auto first = std::find(lines.begin(), lines.end(), after);
    if (first == lines.end())
        return {};
    auto last = std::find(first + 1, lines.end(), before);
    return std::vector<std::string>(first + 1, last);
}

void exec(const Workspace& ws, const std::string& sql) {
    Database db = OpenProjectDb(ws);
    db.exec(sql);
}

std::vector<Record> storedResults(const Workspace& ws) {
    Database db = OpenProjectDb(ws);
    Statement q = db.prepare("SELECT * FROM TblResults");
    return readAll(q);
}

// A project on the 5.0 in/hr location with its project and node rows and no elements.
Workspace MakeUniformProject(const TempFolder& folder) {
    Workspace ws = MakeWorkspace(folder);
    SaveLocation(ws, "Uniform Five", UniformGrid("5.0"));
    InsertProjectRows(ws, "Uniform Five");
    return ws;
}

BasinFields basin(const std::string& name, const std::string& area, const std::string& c,
                  const std::string& tc) {
    return {name, area, "Asphalt", c, "0.02", "100", "Smooth surfaces", "0.011", tc};
}

ChannelFields channel(const std::string& name, const std::string& length, const std::string& tc) {
    return {name, "3.14", "6.28", "0.005", length, "Concrete", "0.013", "4.5678", tc};
}

// "Lot " and 7 -> "Lot 7"; built with += since g++ 12 at -O3 warns (-Wrestrict) about
// "literal" + std::to_string(...).
std::string numbered(const std::string& prefix, int number, bool twoDigits = false) {
    std::string text = prefix;
    if (twoDigits && number < 10)
        text += '0';
    text += std::to_string(number);
    return text;
}

constexpr const char* kResultsHeading = "\t1Yr\t2Yr\t5Yr\t10Yr\t25Yr\t50Yr\t100Yr";
constexpr const char* kOverlandHeading = "Name\tArea\tSlope\tL\tType\tn\tTc\t";
constexpr const char* kRule8 = "\t\t\t\t\t\t\t\t";

} // namespace

// The worked project (report_support.cpp), every paragraph. Hand-computed numbers:
//   A = 2.5 + 1.5 = 4; a/A = 0.625 and 0.375; CA = 0.625 * 0.95 = 0.59375 -> 0.5938 (half away
//   from zero) and 0.375 * 0.1 = 0.0375; C = 0.63125 -> 0.6313.
//   Tc: overland 1.52 + 20.3 = 21.82, shallow 5.1647 + 1.1597 = 6.3244, channel 1.0946 + 5.4 =
//   6.4946, total 34.639. Lengths 250, 700, 700. V 4.5678 -> 4.57, 1.23456 -> 1.23.
//   I = 5.00 everywhere; Q = 4 * 5 * min(Cf * 0.63125, 1): 12.625 -> 12.63 (four periods),
//   Cf 1.1: 13.8875 -> 13.89, Cf 1.2: 15.15, Cf 1.25: 15.78125 -> 15.78.
// The paragraph "{10} " (a single space) ends with a blank: keep it when editing.
TEST(ReportGolden, AllThreeKindsParagraphByParagraph) {
    TempFolder folder;
    const Workspace ws = MakeWorkedProject(folder);
    const SolvedReport report = SolveAndRender(ws);
    const std::string expected = R"([0/0] {24b}  Pluvane{11b}  Version 1.1 Beta
[0/0]
[0/0]
[300/200 4000] {12b}Project Name:{12}\tAlder Creek Retail
[300/200 4000] {12b}Design Engineer:{12}\tM. Okafor
[300/200 4000] {12b}Project Manager:{12}\tR. Lindqvist
[300/200 4000] {12b}Design Date:{12}\t2026-03-14
[300/200 4000] {12b}Job Number:{12}\t24-117
[300/200 4000] {12}-----------------------------------------------------------------
[300/200 4000]
[300/200 4000]
[300/200 4000] {12biu}Overland Flow
[300/200 4000]
[300/200 4000]
[300/200 4000] {10bu}Time Of Concentration
[300/200 4000]
[300/200 1500,2700,3900,5100,6500,7500,8500] {10bu}Name\tArea\tSlope\tL\tType\tn\tTc\t
[300/200 1500,2700,3900,5100,6500,7500,8500] {10}North Lot\t2.5\t0.02\t100\tSmooth surfac\t0.011\t1.52
[300/200 1500,2700,3900,5100,6500,7500,8500] {10}Lawn Strip\t1.5\t0.01\t150\tGrass, short\t0.15\t20.3
[300/200 1500,2700,3900,5100,6500,7500,8500] {10u}\t\t\t\t\t\t\t\t
[300/200 1500,2700,3900,5100,6500,7500,8500] {10}TOTAL\t4\t\t250\t\t\t21.82
[300/200 1500,2700,3900,5100,6500,7500,8500]
[300/200 1500,2700,3900,5100,6500,7500,8500]
[300/200 1500,2700,3900,5100,6500,7500,8500]
[300/200 1500,2700,3900,5100,6500,7500,8500] {10} 
[300/200 1500,2700,3900,5100,6500,7500,8500] {10bu}Average Runoff Coefficient
[300/200 1500,2700,3900,5100,6500,7500,8500]
[300/200 2000,4000,4000,5000,6000,7000] {10bu}Name\tUse\ta\ta/A\tC\tCA\t
[300/200 2000,4000,4000,5000,6000,7000] {10}North Lot\tAsphalt\t2.5\t0.625\t0.95\t0.5938
[300/200 2000,4000,4000,5000,6000,7000] {10}Lawn Strip\tLawns, sandy\t1.5\t0.375\t0.1\t0.0375
[300/200 2000,4000,4000,5000,6000,7000] {10u}\t\t\t\t\t\t\t\t
[300/200 2000,4000,4000,5000,6000,7000] {10}TOTAL\t\t4\t\t\t0.6313
[300/200 2000,4000,4000,5000,6000,7000]
[300/200 2000,4000,4000,5000,6000,7000] {12biu}Shallow Concentrated Flow
[300/200 2000,4000,4000,5000,6000,7000]
[300/200 1333,2666,3999,5332,6665,7998] {10bu}Name\tType\tSlope \tLength\tV(fps)\tTc(min)
[300/200 1333,2666,3999,5332,6665,7998] {10}Swale A\tUnpaved\t0.01\t500\t1.6135\t5.1647
[300/200 1333,2666,3999,5332,6665,7998] {10}Gutter\tPaved\t0.02\t200\t2.8742\t1.1597
[300/200 1333,2666,3999,5332,6665,7998] {10bu}\t\t\t\t\t\t\t
[300/200 1333,2666,3999,5332,6665,7998] {10}TOTAL\t\t\t700\t\t6.3244
[300/200 1333,2666,3999,5332,6665,7998]
[300/200 1333,2666,3999,5332,6665,7998]
[300/200 1333,2666,3999,5332,6665,7998] {12biu}Channel Flow
[300/200 1333,2666,3999,5332,6665,7998]
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992] {10bu}Name\tL\tn\tMaterial\tS\tA\tWP\tV\tTc
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992] {10}Pipe 1\t300\t0.013\tConcrete\t0.005\t3.14\t6.28\t4.57\t1.0946
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992] {10}Ditch\t400\t0.03\tGrass\t0.01\t10\t8\t1.23\t5.4
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992]
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992] {10bu}\t\t\t\t\t\t\t\t\t\t\t
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992] {10}TOTAL\t700\t\t\t\t\t\t\t6.4946
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992]
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992]
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992]
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992] {12biu}Runoff Rate Calculations
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992]
[300/200 1000,5000,8000] {10}Overland Flow Tc \t: 21.82
[300/200 1000,5000,8000] {10}Shallow Concentrated Flow Tc\t: 6.3244
[300/200 1000,5000,8000] {10u}Channel Flow Tc\t: 6.4946
[300/200 1000,5000,8000] {10}TOTAL Tc (min)\t: 34.639
[300/200 1000,5000,8000]
[300/200 1000,5000,8000]
[300/200 1000,5000,8000] {10}Q = C * Cf * A * I
[300/200 1000,5000,8000]
[300/200 1000,2000,3000,4000,5000,6000,7000,8000] {10bu}\t1Yr\t2Yr\t5Yr\t10Yr\t25Yr\t50Yr\t100Yr
[300/200 1000,2000,3000,4000,5000,6000,7000,8000] {10b}I(in/hr)\t{10}5.00\t5.00\t5.00\t5.00\t5.00\t5.00\t5.00
[300/200 1000,2000,3000,4000,5000,6000,7000,8000] {10b}Q(cfs)\t{10}12.63\t12.63\t12.63\t12.63\t13.89\t15.15\t15.78
[300/200 1000,2000,3000,4000,5000,6000,7000,8000]
[300/200 1000,2000,3000,4000,5000,6000,7000,8000]
[300/200 1000,2000,3000,4000,5000,6000,7000,8000]
[300/200 1000,2000,3000,4000,5000,6000,7000,8000] {10bu}\t\t\t\t\t\t\t\t
[300/200 1000,2000,3000,4000,5000,6000,7000,8000] {8 #0000ff}It's the engineer's responsibility to check the results of this software
[300/200 1000,2000,3000,4000,5000,6000,7000,8000] {8 #0000ff}There are no warranties implied or expressed, including but not
[300/200 1000,2000,3000,4000,5000,6000,7000,8000] {8 #0000ff}limited to implied warranties of merchantability and fitness for a particular purpose
[300/200 1000,2000,3000,4000,5000,6000,7000,8000]
)";
    EXPECT_EQ(Dump(report.document), expected);
    // The document ends with an empty paragraph being written: the closing notice's extra CR.
    ASSERT_FALSE(report.document.paragraphs.empty());
    EXPECT_TRUE(report.document.paragraphs.back().runs.empty());

    ASSERT_TRUE(report.solve.has_value());
    EXPECT_NEAR(report.solve->tcHours * 60.0, 34.639, 1e-9);
    EXPECT_FLOAT_EQ(report.solve->Q[0], 12.625f);
}

TEST(ReportGolden, OnlyChannelsLeaveOutTheOtherSectionsAndCountThemAsZero) {
    TempFolder folder;
    Workspace ws = MakeUniformProject(folder);
    InsertChannel(ws, "Channel1", 480, 480, channel("Culvert", "250", "3.5"));
    InsertChannel(ws, "Channel2", 480, 960, channel("Outfall ditch", "120", "1.25"));
    const SolvedReport report = SolveAndRender(ws);

    EXPECT_FALSE(hasParagraph(report.document, "Overland Flow"));
    EXPECT_FALSE(hasParagraph(report.document, "Average Runoff Coefficient"));
    EXPECT_FALSE(hasParagraph(report.document, "Shallow Concentrated Flow"));
    // The channel section follows the project block at once, in the project block's stops.
    EXPECT_EQ(
        DumpSection(report.document, std::string(65, '-'), "Runoff Rate Calculations"),
        R"([300/200 4000] {12}-----------------------------------------------------------------
[300/200 4000]
[300/200 4000] {12biu}Channel Flow
[300/200 4000]
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992] {10bu}Name\tL\tn\tMaterial\tS\tA\tWP\tV\tTc
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992] {10}Culvert\t250\t0.013\tConcrete\t0.005\t3.14\t6.28\t4.57\t3.5
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992] {10}Outfall dit\t120\t0.013\tConcrete\t0.005\t3.14\t6.28\t4.57\t1.25
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992]
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992] {10bu}\t\t\t\t\t\t\t\t\t\t\t
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992] {10}TOTAL\t370\t\t\t\t\t\t\t4.75
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992]
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992]
[300/200 666,1998,1998,2664,3330,4662,4662,5328,5994,6660,7326,7992]
)");
    // No sub-basins: A = 0 and C = 0, so every Q is 0 while the intensities are still found.
    EXPECT_EQ(DumpSection(report.document, "Overland Flow Tc \t: 0", "Q = C * Cf * A * I"),
              R"([300/200 1000,5000,8000] {10}Overland Flow Tc \t: 0
[300/200 1000,5000,8000] {10}Shallow Concentrated Flow Tc\t: 0
[300/200 1000,5000,8000] {10u}Channel Flow Tc\t: 4.75
[300/200 1000,5000,8000] {10}TOTAL Tc (min)\t: 4.75
[300/200 1000,5000,8000]
[300/200 1000,5000,8000]
)");
    EXPECT_TRUE(
        hasParagraph(report.document, "I(in/hr)\t5.00\t5.00\t5.00\t5.00\t5.00\t5.00\t5.00"));
    EXPECT_TRUE(hasParagraph(report.document, "Q(cfs)\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00"));
}

TEST(ReportGolden, ThirtyRowsArePrintedInOrderWithTheirTotals) {
    TempFolder folder;
    Workspace ws = MakeUniformProject(folder);
    for (int i = 1; i <= 30; ++i) {
        InsertBasin(ws, numbered("Basin", i), 480, 480,
                    basin(numbered("Lot ", i, true), "1", "0.5", "1"));
    }
    const SolvedReport report = SolveAndRender(ws);

    const auto rows = textsBetween(report.document, kOverlandHeading, kRule8);
    ASSERT_EQ(rows.size(), 30u);
    EXPECT_EQ(rows.front(), "Lot 01\t1\t0.02\t100\tSmooth surfac\t0.011\t1");
    EXPECT_EQ(rows.back(), "Lot 30\t1\t0.02\t100\tSmooth surfac\t0.011\t1");
    EXPECT_TRUE(hasParagraph(report.document, "TOTAL\t30\t\t3000\t\t\t30"));
    // a/A = 1/30 = 0.0333..., CA = 0.01666... ; thirty of them add up to C = 0.5.
    const auto shares = textsBetween(report.document, "Name\tUse\ta\ta/A\tC\tCA\t", kRule8);
    ASSERT_EQ(shares.size(), 30u);
    EXPECT_EQ(shares[16], "Lot 17\tAsphalt\t1\t0.033\t0.5\t0.0167");
    EXPECT_TRUE(hasParagraph(report.document, "TOTAL\t\t30\t\t\t0.5000"));
}

TEST(ReportGolden, MoreThanThirtyRowsAreAllPrintedAndAllSolved) {
    // The canvas stops at 20 per kind, but a file edited elsewhere may hold more: every live
    // row is printed and counted rather than some dropped from the table and the totals.
    TempFolder folder;
    Workspace ws = MakeUniformProject(folder);
    for (int i = 1; i <= 31; ++i)
        InsertChannel(ws, numbered("Channel", i), 480, 480, channel(numbered("C", i), "10", "0.5"));
    const SolvedReport report = SolveAndRender(ws);
    const auto rows = textsBetween(report.document, "Name\tL\tn\tMaterial\tS\tA\tWP\tV\tTc", "");
    EXPECT_EQ(rows[30], "C31\t10\t0.013\tConcrete\t0.005\t3.14\t6.28\t4.57\t0.5");
    EXPECT_TRUE(hasParagraph(report.document, "TOTAL\t310\t\t\t\t\t\t\t15.5"));
    EXPECT_TRUE(hasParagraph(report.document, "TOTAL Tc (min)\t: 15.5"));
}

TEST(ReportGolden, LongNamesAreCutToTheirColumnsByCharacters) {
    TempFolder folder;
    Workspace ws = MakeUniformProject(folder);
    InsertBasin(ws, "Basin1", 480, 480,
                {"Riverside Commons East", "2", "Lawns, sandy soil, flat", "0.1", "0.02", "100",
                 "Smooth surfaces (paved)", "0.011", "3"});
    // "é" is two bytes: the cut counts characters and never splits one.
    InsertBasin(ws, "Basin2", 480, 960,
                {"Cafés Rooftop Garden", "2", "Roofs", "0.9", "0.02", "100", "Exactly13char",
                 "0.011", "3"});
    InsertSurface(ws, "Surface1", 600, 1680,
                  {"Riverside Commons Swale", "0.01", "500", "1.6", "Unpaved (gravel)", "5"});
    InsertChannel(ws, "Channel1", 480, 2520,
                  {"Riverside Culvert", "3.14", "6.28", "0.005", "300", "Concrete, finished",
                   "0.013", "4.5", "1"});
    const SolvedReport report = SolveAndRender(ws);

    const auto tcRows = textsBetween(report.document, kOverlandHeading, kRule8);
    ASSERT_EQ(tcRows.size(), 2u);
    EXPECT_EQ(tcRows[0], "Riverside Com\t2\t0.02\t100\tSmooth surfac\t0.011\t3");
    EXPECT_EQ(tcRows[1], "Cafés Rooftop\t2\t0.02\t100\tExactly13char\t0.011\t3");
    const auto cRows = textsBetween(report.document, "Name\tUse\ta\ta/A\tC\tCA\t", kRule8);
    ASSERT_EQ(cRows.size(), 2u);
    EXPECT_EQ(cRows[0], "Riverside Commo\tLawns, sandy so\t2\t0.500\t0.1\t0.0500");
    EXPECT_EQ(cRows[1], "Cafés Rooftop G\tRoofs\t2\t0.500\t0.9\t0.4500");
    EXPECT_TRUE(
        hasParagraph(report.document, "Riverside Commo\tUnpaved (gravel\t0.01\t500\t1.6\t5"));
    EXPECT_TRUE(hasParagraph(report.document,
                             "Riverside C\t300\t0.013\tConcrete, f\t0.005\t3.14\t6.28\t4.50\t1"));
}

TEST(ReportGolden, TabsAndLineEndsInStoredTextsDoNotShiftColumnsOrSplitRows) {
    TempFolder folder;
    Workspace ws = MakeUniformProject(folder);
    InsertBasin(ws, "Basin1", 480, 480, basin("Lot\t7\r\nEast", "1", "0.5", "2"));
    exec(ws, "UPDATE TblProjectInfo SET ProjectName = 'Line one' || char(10) || 'line two'");
    const SolvedReport report = SolveAndRender(ws);
    EXPECT_EQ(textsBetween(report.document, kOverlandHeading, kRule8),
              std::vector<std::string>{"Lot 7  East\t1\t0.02\t100\tSmooth surfac\t0.011\t2"});
    EXPECT_TRUE(hasParagraph(report.document, "Project Name:\tLine one line two"));
}

TEST(ReportNumbers, TextbookExampleGivesTheWorkedPeakFlows) {
    // C = 0.9, A = 10 acres, I = 5.0 in/hr: Ce 0.9 (four periods), 0.99, 1.0 (1.08 capped), 1.0.
    TempFolder folder;
    Workspace ws = MakeUniformProject(folder);
    InsertBasin(ws, "Basin1", 480, 480, basin("Site", "10", "0.9", "30"));
    const SolvedReport report = SolveAndRender(ws);
    EXPECT_TRUE(hasParagraph(report.document, "Site\tAsphalt\t10\t1.000\t0.9\t0.9000"));
    EXPECT_TRUE(hasParagraph(report.document, "TOTAL\t\t10\t\t\t0.9000"));
    EXPECT_TRUE(
        hasParagraph(report.document, "Q(cfs)\t45.00\t45.00\t45.00\t45.00\t49.50\t50.00\t50.00"));
    EXPECT_EQ(storedResults(ws).at(0).text("Qpeak_1"), "45.0000");
}

TEST(ReportNumbers, AverageCoefficientWeighsEachSubBasinByItsShareOfTheArea) {
    // 3 acres at 0.9 and 1 acre at 0.3: a/A 0.75 and 0.25, CA 0.675 and 0.075, C = 0.75.
    // The share is computed first: 1/3 of 0.35 is 0.116666... -> 0.1167, not 0.35/3 rounded
    // differently.
    TempFolder folder;
    Workspace ws = MakeUniformProject(folder);
    InsertBasin(ws, "Basin1", 480, 480, basin("Roof", "3", "0.9", "4"));
    InsertBasin(ws, "Basin2", 480, 960, basin("Yard", "1", "0.3", "12.5"));
    const SolvedReport report = SolveAndRender(ws);
    EXPECT_EQ(textsBetween(report.document, "Name\tUse\ta\ta/A\tC\tCA\t", kRule8),
              (std::vector<std::string>{"Roof\tAsphalt\t3\t0.750\t0.9\t0.6750",
                                        "Yard\tAsphalt\t1\t0.250\t0.3\t0.0750"}));
    EXPECT_TRUE(hasParagraph(report.document, "TOTAL\t\t4\t\t\t0.7500"));
    EXPECT_TRUE(hasParagraph(report.document, "TOTAL\t4\t\t200\t\t\t16.5"));
    // Q = 4 * 5 * 0.75 = 15 for the first four periods, 16.5 at Cf 1.1, 18 at 1.2, 18.75 at 1.25.
    EXPECT_TRUE(
        hasParagraph(report.document, "Q(cfs)\t15.00\t15.00\t15.00\t15.00\t16.50\t18.00\t18.75"));
}

TEST(ReportData, ZeroTotalAreaPrintsNotApplicableAndStillSolves) {
    // a/A is 0/0: "n/a" rather than "nan", and the solve still stores the intensities (every
    // Q is A * ... = 0).
    TempFolder folder;
    Workspace ws = MakeUniformProject(folder);
    InsertBasin(ws, "Basin1", 480, 480, basin("Pond", "0", "0.9", "10"));
    InsertBasin(ws, "Basin2", 480, 960, basin("Pad", "", "0.5", "2"));
    const SolvedReport report = SolveAndRender(ws);
    EXPECT_EQ(textsBetween(report.document, "Name\tUse\ta\ta/A\tC\tCA\t", kRule8),
              (std::vector<std::string>{"Pond\tAsphalt\t0\tn/a\t0.9\tn/a",
                                        "Pad\tAsphalt\t0\tn/a\t0.5\tn/a"}));
    EXPECT_TRUE(hasParagraph(report.document, "TOTAL\t\t0\t\t\tn/a"));
    ASSERT_TRUE(report.solve.has_value());
    EXPECT_TRUE(
        hasParagraph(report.document, "I(in/hr)\t5.00\t5.00\t5.00\t5.00\t5.00\t5.00\t5.00"));
    EXPECT_TRUE(hasParagraph(report.document, "Q(cfs)\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00"));
    for (const std::string& line : texts(report.document)) {
        EXPECT_EQ(line.find("nan"), std::string::npos) << line;
        EXPECT_EQ(line.find("inf"), std::string::npos) << line;
    }
}

TEST(ReportData, EmptyProjectTablePrintsTheLabelsWithoutValues) {
    TempFolder folder;
    Workspace ws = MakeWorkspace(folder);
    SaveLocation(ws, "Uniform Five", UniformGrid("5.0"));
    InsertChannel(ws, "Channel1", 480, 480, channel("Culvert", "250", "3.5"));
    const SolvedReport report = SolveAndRender(ws, "Uniform Five"); // no node row records one
    EXPECT_EQ(DumpSection(report.document, "Project Name:\t", std::string(65, '-')),
              R"([300/200 4000] {12b}Project Name:{12}\t
[300/200 4000] {12b}Design Engineer:{12}\t
[300/200 4000] {12b}Project Manager:{12}\t
[300/200 4000] {12b}Design Date:{12}\t
[300/200 4000] {12b}Job Number:{12}\t
)");
    EXPECT_TRUE(report.solve.has_value());
}

TEST(ReportData, TheLastProjectRowIsTheOnePrinted) {
    TempFolder folder;
    Workspace ws = MakeUniformProject(folder);
    exec(ws, "INSERT INTO TblProjectInfo (ProjectName) VALUES ('Second row')");
    InsertChannel(ws, "Channel1", 480, 480, channel("Culvert", "250", "3.5"));
    const SolvedReport report = SolveAndRender(ws);
    EXPECT_TRUE(hasParagraph(report.document, "Project Name:\tSecond row"));
    EXPECT_TRUE(hasParagraph(report.document, "Design Engineer:\t"));
}

TEST(ReportData, NullAndMissingColumnsPrintEmptyTextsAndZeroNumbers) {
    // A row written by another tool may lack values, or the table a column: texts print
    // empty, numbers print the 0 the solve counts them as.
    TempFolder folder;
    Workspace ws = MakeUniformProject(folder);
    exec(ws, "ALTER TABLE TblBasinInfo DROP COLUMN SoilType");
    exec(ws, "INSERT INTO TblBasinInfo (BasinTag, Area, Deleted) VALUES ('Basin1', '2', 'False')");
    exec(
        ws,
        "INSERT INTO TblSurfaceInfo (SurfTag, SurfName, Deleted) VALUES ('Surface1', 'Swale', 'False')");
    exec(
        ws,
        "INSERT INTO TblChannelInfo (ChannelTag, ChannelTc, Deleted) VALUES ('Channel1', '4', 'False')");
    const SolvedReport report = SolveAndRender(ws);
    EXPECT_EQ(textsBetween(report.document, kOverlandHeading, kRule8),
              std::vector<std::string>{"\t2\t0\t0\t\t0\t0"});
    EXPECT_EQ(textsBetween(report.document, "Name\tUse\ta\ta/A\tC\tCA\t", kRule8),
              std::vector<std::string>{"\t\t2\t1.000\t0\t0.0000"});
    EXPECT_TRUE(hasParagraph(report.document, "Swale\t\t0\t0\t0\t0"));
    EXPECT_TRUE(hasParagraph(report.document, "\t0\t0\t\t0\t0\t0\t0.00\t4"));
    EXPECT_TRUE(hasParagraph(report.document, "TOTAL Tc (min)\t: 4"));
    EXPECT_TRUE(report.solve.has_value());
}

TEST(ReportData, DeletedElementsAreNeitherPrintedNorCounted) {
    TempFolder folder;
    Workspace ws = MakeWorkedProject(folder);
    InsertBasin(ws, "Basin9", 480, 480, basin("Gone", "100", "0.9", "50"));
    exec(ws, "UPDATE TblBasinInfo SET Deleted = 'True' WHERE BasinTag = 'Basin9'");
    const SolvedReport report = SolveAndRender(ws);
    EXPECT_EQ(textsBetween(report.document, kOverlandHeading, kRule8).size(), 2u);
    EXPECT_TRUE(hasParagraph(report.document, "TOTAL\t4\t\t250\t\t\t21.82"));
}

TEST(ReportData, SectionsFollowTheLiveRows) {
    // A kind whose rows are all deleted contributes nothing and gets no section.
    TempFolder folder;
    Workspace ws = MakeWorkedProject(folder);
    exec(ws, "UPDATE TblSurfaceInfo SET Deleted = 'True'");
    const SolvedReport report = SolveAndRender(ws);
    EXPECT_FALSE(hasParagraph(report.document, "Shallow Concentrated Flow"));
    EXPECT_TRUE(hasParagraph(report.document, "Shallow Concentrated Flow Tc\t: 0"));
    EXPECT_TRUE(hasParagraph(report.document, "TOTAL Tc (min)\t: 28.3146")); // 21.82 + 6.4946
}

TEST(ReportSolve, TheSolveFindsEachKindFromTheLiveRowsOnly) {
    TempFolder folder;
    Workspace ws = MakeUniformProject(folder);
    const auto kinds = [&ws] {
        const ProjectSolve solve = SolveProject(ws);
        const SolveInputs& in = solve.inputs;
        EXPECT_EQ(solve.nothingToSolve, !(in.hasOverland || in.hasShallow || in.hasChannel));
        EXPECT_EQ(solve.nothingToSolve, !solve.solved()) << "nothing to solve runs no engine";
        return std::string(in.hasOverland ? "O" : "") + (in.hasShallow ? "S" : "") +
               (in.hasChannel ? "C" : "");
    };
    EXPECT_EQ(kinds(), "");
    InsertBasin(ws, "Basin1", 480, 480, basin("Gone", "1", "0.5", "1"));
    exec(ws, "UPDATE TblBasinInfo SET Deleted = 'True'");
    EXPECT_EQ(kinds(), "") << "only deleted rows: Nothing to Solve";
    InsertChannel(ws, "Channel1", 480, 480, channel("Culvert", "250", "3.5"));
    EXPECT_EQ(kinds(), "C");
    InsertSurface(ws, "Surface1", 600, 1680, {"Swale", "0.01", "500", "1.6", "Unpaved", "5"});
    EXPECT_EQ(kinds(), "SC");
}

TEST(ReportSolve, ASecondBuildOverwritesTheResultsRowAndAddsNone) {
    TempFolder folder;
    Workspace ws = MakeWorkedProject(folder);
    SolveAndRender(ws);
    ASSERT_EQ(storedResults(ws).size(), 1u);
    EXPECT_EQ(storedResults(ws)[0].text("Qpeak_1"), "12.6250");

    // 6.5 + 1.5 = 8 acres; C = 6.5/8 * 0.95 + 1.5/8 * 0.1 = 0.790625; Q = 8 * 5 * C = 31.625.
    UpdateBasin(
        ws, "Basin1",
        {"North Lot", "6.5", "Asphalt", "0.95", "0.02", "100", "Smooth surfaces", "0.011", "1.52"});
    const SolvedReport again = SolveAndRender(ws);
    const auto rows = storedResults(ws);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text("Qpeak_1"), "31.6250");
    EXPECT_EQ(rows[0].text("Ival_1"), "5.0000");
    EXPECT_TRUE(
        hasParagraph(again.document, "Q(cfs)\t31.63\t31.63\t31.63\t31.63\t34.79\t37.95\t39.53"));
}

TEST(ReportSolve, AMissingResultsTableIsCreatedByTheSolve) {
    TempFolder folder;
    Workspace ws = MakeWorkedProject(folder);
    exec(ws, "DROP TABLE TblResults");
    const SolvedReport report = SolveAndRender(ws);
    ASSERT_TRUE(report.solve.has_value());
    EXPECT_TRUE(
        hasParagraph(report.document, "Q(cfs)\t12.63\t12.63\t12.63\t12.63\t13.89\t15.15\t15.78"));
    EXPECT_EQ(storedResults(ws).size(), 1u);
}

TEST(ReportSolve, TcBeyondTheTableIsSaidRightAfterTheRunoffTable) {
    TempFolder folder;
    Workspace ws = MakeUniformProject(folder);
    InsertChannel(ws, "Channel1", 480, 480, channel("Long river", "90000", "1500"));
    const SolvedReport report = SolveAndRender(ws);
    ASSERT_TRUE(report.solve.has_value());
    ASSERT_EQ(report.solve->outcome, SolveOutcome::BeyondTable);
    const std::size_t q =
        indexOf(report.document, "Q(cfs)\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00");
    ASSERT_LT(q + 1, report.document.paragraphs.size());
    const Paragraph& note = report.document.paragraphs[q + 1];
    EXPECT_EQ(note.text(), SolveNote(*report.solve));
    EXPECT_NE(note.text().find("1500 min"), std::string::npos);
    ASSERT_FALSE(note.runs.empty());
    EXPECT_TRUE(note.runs[0].format.bold);
}

TEST(ReportSolve, AFailedSolveEndsTheTableAtItsLabelAndSaysWhy) {
    // The results section ends with the "I(in/hr)" label, as for an empty TblResults, and the
    // stored row of an earlier solve is not passed off as this one's.
    const struct {
        const char* what;
        const char* location; // solved at instead of the recorded one; null: the recorded one
        std::function<void(Workspace&)> breakIt;
        const char* reason;
    } cases[] = {
        {"missing table", "Nowhere", [](Workspace&) {},
         "The rainfall table \"Nowhere\" does not exist in the intensity database."},
        {"no table chosen", nullptr,
         [](Workspace& ws) { exec(ws, "UPDATE TblNodeInfo SET IntensityTable = ''"); },
         "No rainfall intensity table is chosen for this project; choose one before solving."},
        {"empty table", nullptr,
         [](Workspace& ws) {
             Database db = OpenIntensityDb(ws);
             db.exec("DELETE FROM \"Uniform Five\"");
         },
         "The rainfall table \"Uniform Five\" has no rows; enter its values before solving."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        Workspace ws = MakeWorkedProject(folder);
        ASSERT_TRUE(SolveAndRender(ws).solve.has_value()); // an earlier solve leaves a row behind
        c.breakIt(ws);
        const SolvedReport report =
            c.location ? SolveAndRender(ws, c.location) : SolveAndRender(ws);
        EXPECT_FALSE(report.solve.has_value());
        EXPECT_EQ(
            DumpSection(report.document, kResultsHeading, ""),
            std::string(
                R"([300/200 1000,2000,3000,4000,5000,6000,7000,8000] {10bu}\t1Yr\t2Yr\t5Yr\t10Yr\t25Yr\t50Yr\t100Yr
[300/200 1000,2000,3000,4000,5000,6000,7000,8000] {10b}I(in/hr)\t
[300/200 1000,2000,3000,4000,5000,6000,7000,8000] {10b}The project could not be solved: )") +
                c.reason + R"(
[300/200 1000,2000,3000,4000,5000,6000,7000,8000]
[300/200 1000,2000,3000,4000,5000,6000,7000,8000]
[300/200 1000,2000,3000,4000,5000,6000,7000,8000]
[300/200 1000,2000,3000,4000,5000,6000,7000,8000] {10bu}\t\t\t\t\t\t\t\t
[300/200 1000,2000,3000,4000,5000,6000,7000,8000] {8 #0000ff}It's the engineer's responsibility to check the results of this software
[300/200 1000,2000,3000,4000,5000,6000,7000,8000] {8 #0000ff}There are no warranties implied or expressed, including but not
[300/200 1000,2000,3000,4000,5000,6000,7000,8000] {8 #0000ff}limited to implied warranties of merchantability and fitness for a particular purpose
[300/200 1000,2000,3000,4000,5000,6000,7000,8000]
)");
        EXPECT_EQ(SolveFailureReason(report.document), c.reason);
    }
}

TEST(ReportSolve, AProjectThatCannotBeOpenedIsAnError) {
    TempFolder folder;
    Workspace ws = MakeWorkedProject(folder);
    ws.ProjectPath = folder.file("absent.rmt");
    EXPECT_NE(ErrorMessageOf([&] { SolveAndRender(ws); }), "");
}

TEST(ReportStyleHelpers, StylesTabStopsAndTabRuns) {
    const struct {
        ReportStyle style;
        double size;
        bool bold, underline, italic;
    } styles[] = {
        {ReportStyle::SectionTitle, 12, true, true, true},
        {ReportStyle::Heading, 10, true, true, false},
        {ReportStyle::RowLabel, 10, true, false, false},
        {ReportStyle::Body, 10, false, false, false},
    };
    for (const auto& s : styles) {
        RichTextWriter writer;
        writer.setSize(24);
        writer.setBold(!s.bold);
        writer.setUnderline(!s.underline);
        writer.setItalic(!s.italic);
        writer.setColor({0, 0, 255});
        ApplyReportStyle(writer, s.style);
        EXPECT_EQ(writer.format(), (CharFormat{s.size, s.bold, s.italic, s.underline, {0, 0, 255}}))
            << static_cast<int>(s.style);
    }

    RichTextWriter writer;
    EvenTabStops(writer, 6);
    EXPECT_EQ(writer.tabStops(), (std::vector<int>{1333, 2666, 3999, 5332, 6665, 7998}));
    EvenTabStops(writer, 12);
    EXPECT_EQ(writer.tabStops().size(), 12u);
    EXPECT_EQ(writer.tabStops()[1], 1332);
    EXPECT_EQ(writer.tabStops()[11], 7992);
    EvenTabStops(writer, 0);
    EXPECT_TRUE(writer.tabStops().empty());

    EXPECT_EQ(TabRun(3), "\t\t\t");
    EXPECT_EQ(TabRun(0), "");
}

TEST(ReportSolve, EachReturnPeriodHeadingStandsOverItsValues) {
    // A value row is a label, a tab, then the values; the heading row must put the k-th
    // heading after as many tabs as the k-th value, or a reader takes the 2-year value for the
    // 1-year one.
    TempFolder folder;
    Workspace ws = MakeWorkedProject(folder);
    const SolvedReport report = SolveAndRender(ws);
    const auto tabsBefore = [](const std::string& text, std::size_t cell) {
        std::size_t tabs = 0, pos = 0;
        for (std::size_t seen = 0; seen < cell; ++seen) {
            pos = text.find('\t', pos);
            if (pos == std::string::npos)
                return std::string::npos;
            ++pos;
            ++tabs;
        }
        return tabs;
    };
    const std::string plain = report.document.plainText();
    const auto lineStarting = [&](const std::string& prefix) {
        const auto at = plain.find("\n" + prefix);
        return at == std::string::npos ? std::string()
                                       : plain.substr(at + 1, plain.find('\n', at + 1) - at - 1);
    };
    const std::string heading = lineStarting("\t1Yr");
    const std::string intensities = lineStarting("I(in/hr)\t");
    const std::string flows = lineStarting("Q(cfs)\t");
    ASSERT_FALSE(heading.empty());
    ASSERT_FALSE(intensities.empty());
    ASSERT_FALSE(flows.empty());
    const char* periods[] = {"1Yr", "2Yr", "5Yr", "10Yr", "25Yr", "50Yr", "100Yr"};
    for (std::size_t k = 0; k < 7; ++k) {
        const std::size_t headingTabs =
            std::count(heading.begin(), heading.begin() + heading.find(periods[k]), '\t');
        EXPECT_EQ(headingTabs, tabsBefore(intensities, k + 1)) << periods[k];
        EXPECT_EQ(headingTabs, tabsBefore(flows, k + 1)) << periods[k];
    }
}

namespace {

constexpr const char* kWorkedFlows = "Q(cfs)\t12.63\t12.63\t12.63\t12.63\t13.89\t15.15\t15.78";
constexpr const char* kNoticeFirstLine =
    "It's the engineer's responsibility to check the results of this software";

// The worked project whose location carries a two-line provenance.
Workspace MakeSourcedProject(const TempFolder& folder) {
    Workspace ws = MakeWorkedProject(folder);
    SaveLocation(ws, "Uniform Five", UniformGrid("5.0"),
                 std::string("source: textbook example\n  point: 1 N, 2 W  \n\n"));
    return ws;
}

ReportOptions withRainfallSource() {
    ReportOptions options;
    options.rainfallSource = true;
    return options;
}

} // namespace

TEST(ReportRainfallSource, OneBodyLineRightUnderTheRunoffTable) {
    TempFolder folder;
    const Workspace ws = MakeSourcedProject(folder);
    const SolvedReport report = SolveAndRender(ws, withRainfallSource());
    EXPECT_EQ(
        DumpSection(report.document, kWorkedFlows, kNoticeFirstLine),
        R"([300/200 1000,2000,3000,4000,5000,6000,7000,8000] {10b}Q(cfs)\t{10}12.63\t12.63\t12.63\t12.63\t13.89\t15.15\t15.78
[300/200 1000,2000,3000,4000,5000,6000,7000,8000] {10}Rainfall: Uniform Five )"
        "\u2014"
        R"( source: textbook example; point: 1 N, 2 W
[300/200 1000,2000,3000,4000,5000,6000,7000,8000]
[300/200 1000,2000,3000,4000,5000,6000,7000,8000]
[300/200 1000,2000,3000,4000,5000,6000,7000,8000]
[300/200 1000,2000,3000,4000,5000,6000,7000,8000] {10bu}\t\t\t\t\t\t\t\t
)");
}

TEST(ReportRainfallSource, OffLeavesTheReportAsItWasAndOnAddsOnlyTheLine) {
    TempFolder folder;
    const Workspace ws = MakeSourcedProject(folder);
    const RichDocument off = SolveAndRender(ws).document;
    EXPECT_EQ(off, SolveAndRender(ws, ReportOptions{}).document);
    EXPECT_EQ(off.plainText().find("Rainfall:"), std::string::npos);

    RichDocument on = SolveAndRender(ws, withRainfallSource()).document;
    const std::size_t line = indexOf(on, kWorkedFlows) + 1;
    ASSERT_LT(line, on.paragraphs.size());
    EXPECT_EQ(on.paragraphs[line].text().rfind("Rainfall: ", 0), 0u);
    on.paragraphs.erase(on.paragraphs.begin() + static_cast<std::ptrdiff_t>(line));
    EXPECT_EQ(on, off);
}

TEST(ReportRainfallSource, TheLineFollowsTheSolveNoteOrTheFailure) {
    {
        TempFolder folder;
        Workspace ws = MakeUniformProject(folder);
        InsertChannel(ws, "Channel1", 480, 480, channel("Long river", "90000", "1500"));
        const SolvedReport report = SolveAndRender(ws, withRainfallSource());
        ASSERT_TRUE(report.solve.has_value());
        const std::vector<std::string> after =
            textsBetween(report.document, "Q(cfs)\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00", "");
        ASSERT_GE(after.size(), 2u);
        EXPECT_EQ(after[0], SolveNote(*report.solve));
        EXPECT_EQ(after[1], "Rainfall: Uniform Five \u2014 source not recorded");
    }
    {
        TempFolder folder;
        Workspace ws = MakeWorkedProject(folder);
        const SolvedReport report = SolveAndRender(ws, "Nowhere", withRainfallSource());
        ASSERT_FALSE(report.solve.has_value());
        const std::vector<std::string> after = textsBetween(report.document, "I(in/hr)\t", "");
        ASSERT_GE(after.size(), 2u);
        EXPECT_EQ(after[0].rfind("The project could not be solved: ", 0), 0u);
        EXPECT_EQ(after[1], "Rainfall: Nowhere \u2014 source not recorded");
    }
}

TEST(ReportRainfallSource, TheLineNamesTheLocationAsListed) {
    TempFolder folder;
    Workspace ws = MakeSourcedProject(folder);
    EXPECT_EQ(SourceLineFor(ws, "uniform FIVE"),
              "Rainfall: Uniform Five \u2014 source: textbook example; point: 1 N, 2 W");
    EXPECT_EQ(SourceLineFor(ws, ""), "Rainfall: no location chosen");
    // The shipped tables carry their source.
    EXPECT_EQ(SourceLineFor(ws, "Atlanta")
                  .rfind("Rainfall: Atlanta \u2014 source: NOAA Atlas 14 Volume 9", 0),
              0u);
    // A database that cannot be read costs the line its source, not the report.
    ws.DataFolder = folder.file("nowhere");
    EXPECT_EQ(SourceLineFor(ws, "Atlanta"), "Rainfall: Atlanta \u2014 source not recorded");
}

TEST(ReportRainfallSource, TheSettingIsOffUnlessItReadsOne) {
    TempFolder folder;
    const std::string path = folder.file("pluvane.conf");
    EXPECT_FALSE(ReportRainfallSourceEnabled(Settings::load(path)));
    for (const auto& [text, on] :
         std::vector<std::pair<std::string, bool>>{{"ReportRainfallSource=1\n", true},
                                                   {"ReportRainfallSource=0\n", false},
                                                   {"ReportRainfallSource=yes\n", false},
                                                   {"reportrainfallsource=1\n", false}}) {
        WriteFile(folder, "pluvane.conf", text);
        EXPECT_EQ(ReportRainfallSourceEnabled(Settings::load(path)), on) << text;
    }

    Settings settings = Settings::load(folder.file("fresh.conf"));
    SetReportRainfallSource(settings, true);
    settings.save();
    EXPECT_TRUE(ReportRainfallSourceEnabled(Settings::load(folder.file("fresh.conf"))));
    SetReportRainfallSource(settings, false);
    settings.save();
    EXPECT_EQ(Settings::load(folder.file("fresh.conf")).value("ReportRainfallSource"), "0");
    EXPECT_FALSE(ReportRainfallSourceEnabled(Settings::load(folder.file("fresh.conf"))));
}

// The outlet conveyance's section follows the runoff rates, at the solve's peak flow of its
// design period, and only when the project has one.
TEST(ReportConveyance, SectionAtTheDesignFlow) {
    TempFolder folder;
    Workspace ws = MakeWorkedProject(folder);
    ConveyanceFields pipe;
    pipe.material = "Concrete Pipe";
    pipe.n = "0.013";
    pipe.slope = "0.005";
    pipe.designPeriod = "25";
    pipe.length = "420";
    SaveOutletConveyance(ws, pipe);
    // By hand: 21 in carries 11.20 cfs full at S = 0.005, 24 in 16.00 cfs; Q25 = 13.89 cfs is
    // 0.868 of full, at 72 % of the depth; 420 ft at 5.73 ft/s takes 1.22 min.
    const std::string expected = "Outlet Conveyance\n\n"
                                 "Conveyance\t: circular pipe\n"
                                 "Manning's n\t: 0.013 (Concrete Pipe)\n"
                                 "Slope (ft/ft)\t: 0.005\n"
                                 "Length (ft)\t: 420\n"
                                 "Design flow (cfs)\t: 13.89 (25-year peak)\n"
                                 "Diameter (in)\t: 24 (smallest standard size flowing full)\n"
                                 "Full flow (cfs)\t: 16.00 at 5.09 ft/s\n"
                                 "Normal depth (ft)\t: 1.44 (72.0 % full)\n"
                                 "Velocity (ft/s)\t: 5.73\n"
                                 "Travel time (min)\t: 1.22\n";
    const std::string text = SolveAndRender(ws).document.plainText();
    const std::size_t start = text.find("Outlet Conveyance");
    ASSERT_NE(start, std::string::npos);
    EXPECT_LT(text.find("Q(cfs)"), start);
    EXPECT_EQ(text.substr(start, expected.size()), expected);

    RemoveOutletConveyance(ws);
    EXPECT_EQ(SolveAndRender(ws).document.plainText().find("Outlet Conveyance"), std::string::npos);
}
