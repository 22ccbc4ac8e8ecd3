// The report's layout for its pages: the face's widths, the columns fitted to their cells, the
// paragraphs kept together across a page break, the hanging project values, the page
// furniture, and how all of it reaches the RTF.
#include "WideElements.h"
#include "core/elements/ElementRecords.h"
#include "core/report/ColumnFit.h"
#include "core/report/FontMetrics.h"
#include "core/report/ReportBuilder.h"
#include "core/report/ReportLayout.h"
#include "core/report/RtfWriter.h"
#include "core/store/IntensityDb.h"
#include "core/store/ProjectDb.h"
#include "report_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>

using namespace pluvane;
using namespace pluvane::test;

namespace {

// The widest names the cuts let through, in every section, and "Commercial pad".
Workspace MakeWideProject(const TempFolder& folder) {
    Workspace ws = MakeWorkspace(folder);
    SaveLocation(ws, "Uniform Five", UniformGrid("5.0"));
    InsertProjectRows(ws, "Uniform Five");
    pluvane::testdata::InsertWideElements(ws);
    return ws;
}

std::vector<std::string> cellsOf(const std::string& text) {
    std::vector<std::string> cells{""};
    for (char c : text)
        if (c == '\t')
            cells.emplace_back();
        else
            cells.back() += c;
    return cells;
}

// The designed stops of each table, by its heading.
const std::vector<std::pair<std::string, std::vector<int>>>& designedStops() {
    static const std::vector<std::pair<std::string, std::vector<int>>> stops{
        {"Name\tArea\tSlope\tL\tType\tn\tTc\t", {1500, 2700, 3900, 5100, 6500, 7500, 8500}},
        {"Name\tUse\ta\ta/A\tC\tCA\t", {2000, 4000, 4000, 5000, 6000, 7000}},
        {"Name\tType\tSlope \tLength\tV(fps)\tTc(min)", {1333, 2666, 3999, 5332, 6665, 7998}},
        {"Name\tL\tn\tMaterial\tS\tA\tWP\tV\tTc",
         {666, 1998, 1998, 2664, 3330, 4662, 4662, 5328, 5994, 6660, 7326, 7992}},
        {"\t1Yr\t2Yr\t5Yr\t10Yr\t25Yr\t50Yr\t100Yr",
         {1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000}},
    };
    return stops;
}

std::size_t indexOf(const RichDocument& document, const std::string& text) {
    for (std::size_t p = 0; p < document.paragraphs.size(); ++p)
        if (document.paragraphs[p].text() == text)
            return p;
    ADD_FAILURE() << "no paragraph \"" << text << "\"";
    return 0;
}

} // namespace

TEST(FontMetrics, AdvancesAreTheFacesOwn) {
    // Arial's (and Liberation Sans's) advances in units of 2048 per em; at 10 pt an em is 200 twips.
    const struct {
        const char* text;
        bool bold;
        int units;
    } cases[] = {
        {"W", false, 1933},
        {"i", false, 455},
        {" ", false, 569},
        {"0", false, 1139},
        {"W", true, 1933},
        {"i", true, 569},
        {"a\tb", false, 2278},
        {"\xC3\xA9", false, 1139}, // é
        {"I(in/hr)", true, 6370},
        {"\xE2\x80\x94", false, 2740}, // an em dash: not in the table, the widest glyph
    };
    for (const auto& c : cases)
        EXPECT_NEAR(TextWidthTwips(c.text, 10, c.bold), c.units * 200.0 / 2048, 1e-9) << c.text;
    EXPECT_NEAR(TextWidthTwips("WW", 12, false), 2 * 1933 * 240.0 / 2048, 1e-9);
    EXPECT_DOUBLE_EQ(CharacterWidthTwips(U'W', 10, false), TextWidthTwips("W", 10, false));
    EXPECT_EQ(TextWidthTwips("\xFF", 10, false),
              TextWidthTwips("\xE2\x80\x94", 10, false)); // a stray byte: widest
}

TEST(ColumnFit, StopsMoveRightAsFarAsTheCellsBeforeThemNeed) {
    const double w13 = TextWidthTwips(std::string(13, 'W'), 10, false);
    const int moved = static_cast<int>(std::ceil(300 + w13 * 1.04 + 50)); // the Area stop
    const struct {
        const char* what;
        std::vector<int> stops;
        std::vector<std::string> rows; // the first is the heading, in bold
        std::vector<int> expected;
        double size; // of the rows once fitted
    } cases[] = {
        {"cells that fit leave the stops",
         {1500, 2700, 3900},
         {"Name\tArea\tSlope\tL", "Lot 1\t2.5\t0.02\t100"},
         {1500, 2700, 3900},
         10},
        {"a wide first cell moves every stop",
         {1500, 2700, 2700, 3900},
         {"Name\tArea\tSlope\tL", "WWWWWWWWWWWWW\t0.8\t0.01\t80"},
         {moved, moved + 1200, moved + 1200, moved + 2400},
         10},
        {"a stop no heading tab lands on moves along",
         {1000, 5000, 8000},
         {"Overland Flow Tc \t: 21.82", "Shallow Concentrated Flow Tc\t: 6.3244"},
         {1000, 5000, 8000},
         10},
        {"too wide for the page: a step smaller",
         {1500, 2700},
         {"Name\tValue", std::string(60, 'W') + "\t1"},
         {static_cast<int>(
              std::ceil(300 + TextWidthTwips(std::string(60, 'W'), 8, false) * 1.04 + 50)),
          0},
         8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RichTextWriter w;
        w.setIndents(300, 200);
        w.setTabStops(c.stops);
        w.setBold(true);
        w.append(c.rows[0] + "\r\n");
        w.setBold(false);
        for (std::size_t r = 1; r < c.rows.size(); ++r)
            w.append(c.rows[r] + "\r\n");
        RichDocument document = w.take();
        FitColumns(document);
        std::vector<int> expected = c.expected;
        if (expected.size() == 2 && expected[1] == 0)
            expected[1] = std::min(expected[0] + 1200,
                                   9880); // past the last column with text: kept on the page
        EXPECT_EQ(document.paragraphs[0].tabStops, expected);
        EXPECT_EQ(document.paragraphs[1].tabStops, expected);
        EXPECT_EQ(document.paragraphs[1].runs[0].format.size, c.size);
        EXPECT_TRUE(document.paragraphs[2].tabStops == expected)
            << "the paragraph being written follows";
        for (std::size_t r = 0; r < c.rows.size(); ++r)
            EXPECT_EQ(document.paragraphs[r].text(), c.rows[r]) << "the text stays as written";
    }
}

TEST(ColumnFit, AWrappingValueColumnIsNotShrunk) {
    RichTextWriter w;
    w.setIndents(300, 200);
    w.setTabStops({4000});
    w.setHangingIndent(4000);
    w.setSize(12);
    w.append("Project Name:\t" + std::string(80, 'W') + "\r\n");
    RichDocument document = w.take();
    FitColumns(document);
    EXPECT_EQ(document.paragraphs[0].tabStops, std::vector<int>{4000});
    EXPECT_EQ(document.paragraphs[0].runs[0].format.size, 12);
}

TEST(ReportLayout, WideNamesInEverySectionSitUnderTheirHeadings) {
    TempFolder folder;
    const SolvedReport report = SolveAndRender(MakeWideProject(folder));
    const RichDocument& document = report.document;
    int checked = 0;
    for (const auto& [heading, designed] : designedStops()) {
        SCOPED_TRACE(heading);
        const std::size_t h = indexOf(document, heading);
        const Paragraph& head = document.paragraphs[h];
        ASSERT_EQ(head.tabStops.size(), designed.size());
        for (std::size_t k = 0; k < designed.size(); ++k)
            EXPECT_GE(head.tabStops[k], designed[k]) << "stop " << k;
        const std::vector<double> columns = TabLandings(head);
        for (std::size_t p = h + 1;
             p < document.paragraphs.size() && document.paragraphs[p].tabStops == head.tabStops;
             ++p) {
            const Paragraph& row = document.paragraphs[p];
            const std::vector<std::string> cells = cellsOf(row.text());
            const std::vector<double> landed = TabLandings(row);
            for (std::size_t k = 1; k < cells.size() && k <= columns.size(); ++k) {
                if (!cells[k].empty()) {
                    EXPECT_EQ(landed[k - 1], columns[k - 1]) << row.text() << ": cell " << k;
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 60);
    // The wide names did move the stops: the shallow table's first column holds 15 W.
    const Paragraph& shallow = document.paragraphs[indexOf(document, designedStops()[2].first)];
    EXPECT_GT(shallow.tabStops[0],
              300 + TextWidthTwips(std::string(15, 'W'), shallow.runs[0].format.size, false));
}

TEST(ReportLayout, HeadingsKeepWithTheirFirstRowsAndTheResultsTableIsKeptWhole) {
    TempFolder folder;
    Workspace ws = MakeWorkedProject(folder);
    for (int i = 3; i <= 8; ++i) // long enough that the heading rule is not the short-table rule
        InsertChannel(
            ws, "Channel" + std::to_string(i), 480, 480 * i,
            {"C" + std::to_string(i), "1", "2", "0.01", "10", "Earth", "0.02", "1.5", "0.1"});
    const RichDocument document = SolveAndRender(ws).document;
    const auto keeps = [&](const std::string& text) {
        return document.paragraphs[indexOf(document, text)].keepWithNext;
    };
    EXPECT_TRUE(keeps("Name\tL\tn\tMaterial\tS\tA\tWP\tV\tTc"));
    EXPECT_FALSE(keeps("Pipe 1\t300\t0.013\tConcrete\t0.005\t3.14\t6.28\t4.57\t1.0946"));
    EXPECT_TRUE(keeps("Channel Flow")); // its title goes with the table
    EXPECT_TRUE(keeps("Runoff Rate Calculations"));
    EXPECT_TRUE(keeps(designedStops()[4].first));
    EXPECT_TRUE(keeps("I(in/hr)\t5.00\t5.00\t5.00\t5.00\t5.00\t5.00\t5.00"));
    // The runoff rates are one block under their title: the Tc lines, the formula over the
    // table and the table go over together.
    const std::size_t total = indexOf(document, "Runoff Rate Calculations") + 5;
    ASSERT_EQ(document.paragraphs[total].text().rfind("TOTAL Tc (min)\t", 0), 0u);
    for (std::size_t p = total; p < indexOf(document, designedStops()[4].first); ++p)
        EXPECT_TRUE(document.paragraphs[p].keepWithNext) << document.paragraphs[p].text();
    EXPECT_TRUE(keeps("Q = C * Cf * A * I"));
    EXPECT_FALSE(document.paragraphs[indexOf(document, designedStops()[4].first) + 2].keepWithNext);
    // The rule and the total under it stay together; a blank line above a title keeps nothing.
    const std::size_t title = indexOf(document, "Channel Flow");
    EXPECT_FALSE(document.paragraphs[title - 1].keepWithNext);
}

TEST(ReportLayout, ProjectValuesHangUnderTheirColumnAndThePagesCarryTheProject) {
    TempFolder folder;
    const RichDocument document = SolveAndRender(MakeWorkedProject(folder)).document;
    const Paragraph& name =
        document.paragraphs[indexOf(document, "Project Name:\tAlder Creek Retail")];
    EXPECT_EQ(name.hangingIndent, 4000);
    EXPECT_EQ(name.leftIndent, 300);
    EXPECT_EQ(document.paragraphs[indexOf(document, "Job Number:\t24-117")].hangingIndent, 4000);
    EXPECT_EQ(document.paragraphs[indexOf(document, std::string(65, '-'))].hangingIndent, 0);
    EXPECT_EQ(document.furniture,
              (PageFurniture{true, "Alder Creek Retail", "Job Number: 24-117"}));

    const std::string rtf = WriteRtf(document);
    EXPECT_NE(rtf.find("\\pard\\keepn\\li4000\\fi-3700\\ri200\\tx4000 \\fs24\\b"),
              std::string::npos);
    EXPECT_NE(
        rtf.find(
            "{\\header\\pard\\plain\\tqr\\tx10080\\fs18 Alder Creek Retail\\tab Job Number: 24-117\\par}"),
        std::string::npos);
    EXPECT_NE(
        rtf.find(
            "{\\footer\\pard\\plain\\tqr\\tx10080\\fs18 Page {\\chpgn} of {\\field{\\*\\fldinst NUMPAGES }"),
        std::string::npos);
    EXPECT_NE(rtf.find("DATE \\\\@ \"yyyy-MM-dd\""), std::string::npos);
}

TEST(ReportLayout, TheRtfTabStopsAreTheModels) {
    TempFolder folder;
    const RichDocument document = SolveAndRender(MakeWideProject(folder)).document;
    const std::string rtf = WriteRtf(document);
    // One "\pard..." line per written paragraph, in order.
    std::vector<std::string> pards;
    const std::regex pard(R"(\n\\pard([^ ]*) )");
    for (auto it = std::sregex_iterator(rtf.begin(), rtf.end(), pard); it != std::sregex_iterator();
         ++it)
        pards.push_back((*it)[1]);
    ASSERT_EQ(pards.size(), document.paragraphs.size() - 1); // the last, empty one is not written
    for (std::size_t p = 0; p < pards.size(); ++p) {
        std::vector<int> model = document.paragraphs[p].tabStops;
        std::sort(model.begin(), model.end());
        model.erase(std::unique(model.begin(), model.end()), model.end());
        std::vector<int> written;
        const std::regex tx(R"(\\tx(\d+))");
        for (auto it = std::sregex_iterator(pards[p].begin(), pards[p].end(), tx);
             it != std::sregex_iterator(); ++it)
            written.push_back(std::stoi((*it)[1]));
        EXPECT_EQ(written, model) << "paragraph " << p << ": " << document.paragraphs[p].text();
    }
}

TEST(ReportRainfallSource, StoredLinesJoinWithoutDoubledMarks) {
    const struct {
        const char* stored;
        const char* joined;
    } cases[] = {
        {"checked before design.\nunits in/hr", "checked before design; units in/hr"},
        {"one,\ntwo;\nthree.", "one; two; three."},
        {"Source:\nNOAA Atlas 14", "Source: NOAA Atlas 14"},
        {"plain\n\n  spaced  \n", "plain; spaced"},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        Workspace ws = MakeWorkspace(folder);
        SaveLocation(ws, "Pine Creek", UniformGrid("5.0"), std::string(c.stored));
        EXPECT_EQ(SourceLineFor(ws, "Pine Creek"),
                  std::string("Rainfall: Pine Creek \u2014 ") + c.joined)
            << c.stored;
    }
}
