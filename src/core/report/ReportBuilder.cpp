#include "core/report/ReportBuilder.h"

#include "core/report/ConveyanceSection.h"
#include "core/report/DesignBasis.h"
#include "core/report/ReportLayout.h"
#include "core/report/ReportNotes.h"
#include "core/report/ReportStyle.h"
#include "core/review/ProjectReview.h"
#include "core/text/NumberText.h"
#include "core/text/Text.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <string_view>
#include <vector>

namespace pluvane {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr int kBodyLeftIndent = 300;
constexpr int kBodyRightIndent = 200;
constexpr Color kBlack{0, 0, 0};
constexpr Color kBlue{0, 0, 255};

std::string cellText(std::string_view text) { return CellText(text); }

// The first `count` characters (not bytes) of a UTF-8 text, as a cell.
std::string leadingCharacters(std::string_view text, std::size_t count) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; // 10xxxxxx
        if (!continuation && characters++ == count)
            return cellText(text.substr(0, i));
    }
    return cellText(text);
}

std::string plain(double value) { return PlainNumberText(value); }

// One rendering: the document being written from a solve. Nothing outlives it, and nothing is
// read: the project row, the element rows, the totals and the outcome come in finished.
class ReportRender {
public:
    ReportRender(const ProjectSolve& solve, const ReportOptions& options)
        : m_project(solve), m_in(solve.inputs), m_solve(solve.result),
          m_solveFailure(solve.failure), m_options(options) {}

    RichDocument run() {
        titleBlock();
        projectBlock();
        if (m_in.hasOverland)
            overlandSection();
        if (m_in.hasShallow)
            shallowSection();
        if (m_in.hasChannel)
            channelSection();
        runoffSection();
        if (m_options.rainfallSource)
            rainfallSource();
        if (m_options.designBasis)
            AppendDesignBasis(m_out, m_project, RainfallSourceLine(m_project));
        AppendOutletConveyance(m_out, m_project.conveyance, m_solve);
        if (m_options.reviewNotes)
            reviewNotes();
        closingNotice();
        RichDocument document = m_out.take();
        if (m_options.layOut)
            LayOutReport(document);
        return document;
    }

private:
    void append(std::string_view text) { m_out.append(text); }
    void style(ReportStyle level) { ApplyReportStyle(m_out, level); }

    void titleBlock() {
        m_out.setSize(24);
        m_out.setBold(true);
        append("  Pluvane");
        m_out.setSize(11);
        append("  Version 1.1 Beta\r");
        append(kCrLf);
        m_out.setSize(12);
        m_out.setColor(kBlack);
        m_out.setBold(false);
        m_out.setItalic(false);
        append(kCrLf);
    }

    void projectBlock() {
        m_out.setIndents(kBodyLeftIndent, kBodyRightIndent);
        m_out.setTabStops({4000});
        m_out.setHangingIndent(4000); // a long value wraps under itself
        // An empty project table still gets its labels, with nothing after them.
        const ProjectFields& project = m_project.project;
        const std::array<std::pair<std::string_view, const std::string*>, 5> fields{{
            {"Project Name:", &project.projectName},
            {"Design Engineer:", &project.designEngineer},
            {"Project Manager:", &project.projectManager},
            {"Design Date:", &project.designDate},
            {"Job Number:", &project.jobNumber},
        }};
        for (const auto& [label, value] : fields) {
            m_out.setBold(true);
            append(label);
            m_out.setBold(false);
            append("\t");
            append(cellText(*value));
            append(kCrLf);
        }
        m_out.setHangingIndent(0);
        append(std::string(65, '-'));
        append(kCrLf);
    }

    void overlandSection() {
        const std::vector<BasinInput>& rows = m_in.basins;
        if (rows.empty())
            return;
        m_out.setBold(true);
        m_out.setUnderline(true);
        m_out.setItalic(true);
        append(kCrLf);
        append(kCrLf);
        m_out.setSize(12);
        append("Overland Flow\r\n\r\n\r\n");

        m_out.setItalic(false);
        m_out.setSize(10);
        m_out.setBold(true);
        m_out.setUnderline(true);
        append("Time Of Concentration\r\n\r\n");
        std::vector<int> stops{1500};
        while (stops.size() < 7)
            stops.push_back(stops.back() + 1200);
        stops[4] += 200;
        stops[6] -= 200;
        m_out.setTabStops(stops);
        append("Name\tArea\tSlope\tL\tType\tn\tTc\t\r\n");
        m_out.setBold(false);
        m_out.setUnderline(false);

        for (const BasinInput& row : rows) {
            m_out.setSize(10);
            append(leadingCharacters(row.fields.name, 13) + "\t" + plain(row.area) + "\t" +
                   plain(row.slope) + "\t" + plain(row.travelLength) + "\t" +
                   leadingCharacters(row.fields.nType, 13) + "\t" + plain(row.n) + "\t" +
                   plain(row.tc));
            append(kCrLf);
        }
        m_out.setUnderline(true);
        append(TabRun(8));
        append(kCrLf);
        m_out.setUnderline(false);
        m_out.setSize(10);
        append("TOTAL\t" + plain(m_in.totalArea) + "\t\t" + plain(m_in.overlandLength) + "\t\t\t" +
               plain(m_in.overlandTc));
        append(kCrLf);
        append("\r\n\r\n\r\n \n");

        m_out.setBold(true);
        m_out.setUnderline(true);
        m_out.setSize(10);
        append("Average Runoff Coefficient\r\n\r\n");
        std::vector<int> cStops{2000};
        while (cStops.size() < 6)
            cStops.push_back(cStops.back() + 1000);
        cStops[1] = 4000;
        m_out.setTabStops(cStops);
        append("Name\tUse\ta\ta/A\tC\tCA\t\r\n");
        m_out.setUnderline(false);
        m_out.setBold(false);

        // With a total area of 0 the shares a/A, and with them CA and the average C, are
        // undefined: the table says "n/a" (the solve got C = 0).
        const bool noArea = m_in.noArea();
        for (const BasinInput& row : rows) {
            m_out.setSize(10);
            append(leadingCharacters(row.fields.name, 15) + "\t" +
                   leadingCharacters(row.fields.soilType, 15) + "\t" + plain(row.area) + "\t" +
                   (noArea ? "n/a" : FormatFixed(row.share, 3)) + "\t" + plain(row.c) + "\t" +
                   (noArea ? "n/a" : FormatFixed(row.weightedC, 4)));
            append(kCrLf);
        }
        m_out.setUnderline(true);
        append(TabRun(8));
        append(kCrLf);
        m_out.setUnderline(false);
        m_out.setSize(10);
        style(ReportStyle::Body);
        append("TOTAL\t\t" + plain(m_in.totalArea) + "\t\t\t" +
               (noArea ? "n/a" : FormatFixed(m_in.averageC, 4)));
        append("\r\n\r\n");
    }

    void shallowSection() {
        const std::vector<SurfaceInput>& rows = m_in.surfaces;
        if (rows.empty())
            return;
        style(ReportStyle::SectionTitle);
        append("Shallow Concentrated Flow\r\n\r\n");
        EvenTabStops(m_out, 6);
        style(ReportStyle::Heading);
        append("Name\tType\tSlope \tLength\tV(fps)\tTc(min)\r\n");
        for (const SurfaceInput& row : rows) {
            style(ReportStyle::Body);
            append(leadingCharacters(row.fields.name, 15) + "\t" +
                   leadingCharacters(row.fields.type, 15) + "\t" + plain(row.slope) + "\t" +
                   plain(row.length) + "\t" + plain(row.velocity) + "\t" + plain(row.tc));
            append(kCrLf);
        }
        style(ReportStyle::Heading);
        append(TabRun(static_cast<int>(m_out.tabStops().size()) + 1));
        append(kCrLf);
        style(ReportStyle::Body);
        append("TOTAL\t\t\t" + plain(m_in.shallowLength) + "\t\t" + plain(m_in.shallowTc));
        append(kCrLf);
        append(kCrLf);
    }

    void channelSection() {
        const std::vector<ChannelInput>& rows = m_in.channels;
        if (rows.empty())
            return;
        append(kCrLf);
        style(ReportStyle::SectionTitle);
        append("Channel Flow\r\n\r\n");
        // Twelve even stops with the second and sixth moved onto the third and seventh, so
        // that "n" and "A" get two steps of room.
        EvenTabStops(m_out, 12);
        const int step = 8000 / 12;
        std::vector<int> stops = m_out.tabStops();
        stops[1] = stops[0] + 2 * step;
        stops[5] = stops[4] + 2 * step;
        m_out.setTabStops(stops);
        style(ReportStyle::Heading);
        append("Name\tL\tn\tMaterial\tS\tA\tWP\tV\tTc\r\n");
        for (const ChannelInput& row : rows) {
            style(ReportStyle::Body);
            append(leadingCharacters(row.fields.name, 11) + "\t" + plain(row.length) + "\t" +
                   plain(row.n) + "\t" + leadingCharacters(row.fields.material, 11) + "\t" +
                   plain(row.slope) + "\t" + plain(row.area) + "\t" + plain(row.wettedPerimeter) +
                   "\t" + FormatFixed(row.velocity, 2) + "\t" + plain(row.tc));
            append(kCrLf);
        }
        append(kCrLf);
        style(ReportStyle::Heading);
        append(TabRun(11));
        append(kCrLf);
        style(ReportStyle::Body);
        append("TOTAL\t" + plain(m_in.channelLength) + TabRun(7) + plain(m_in.channelTc));
        append("\r\n\r\n");
    }

    void runoffSection() {
        append("\r\n\r\n");
        style(ReportStyle::SectionTitle);
        append("Runoff Rate Calculations\r\n\r\n");
        m_out.setTabStops({1000, 5000, 8000});
        style(ReportStyle::Body);
        append("Overland Flow Tc \t: " + plain(m_in.overlandTc) + "\r");
        append("Shallow Concentrated Flow Tc\t: " + plain(m_in.shallowTc) + "\r");
        m_out.setUnderline(true);
        append("Channel Flow Tc\t: " + plain(m_in.channelTc));
        m_out.setUnderline(false);
        append("\r");
        // Added in this order, as the report always has (TotalTc adds overland first).
        append("TOTAL Tc (min)\t: " + plain(m_in.shallowTc + m_in.overlandTc + m_in.channelTc));
        append(kCrLf);

        append("\r\n\r\n");
        m_out.setSize(10);
        append("Q = C * Cf * A * I");
        m_out.setBold(true);
        m_out.setUnderline(true);
        append("\r\n\r\n");
        EvenTabStops(m_out, 8);
        style(ReportStyle::Heading);
        // One leading tab, not two: the value rows start with a label and one tab, so their
        // first value sits at the first stop; a second tab here put "1Yr" over the 2-year value.
        append("\t1Yr\t2Yr\t5Yr\t10Yr\t25Yr\t50Yr\t100Yr\r\n");
        style(ReportStyle::RowLabel);
        append("I(in/hr)\t");
        style(ReportStyle::Body);

        if (!m_solve) {
            // The stored row, if any, is from an earlier solve and must not pass for this one.
            append(kCrLf);
            style(ReportStyle::RowLabel);
            append(cellText(SolveFailureLine(m_solveFailure)));
            append(kCrLf);
            style(ReportStyle::Body);
            return;
        }
        appendResultValues(m_solve->I);
        style(ReportStyle::RowLabel);
        append("Q(cfs)\t");
        style(ReportStyle::Body);
        appendResultValues(m_solve->Q);
        if (const std::string note = SolveNote(*m_solve); !note.empty()) {
            style(ReportStyle::RowLabel);
            append(cellText(note));
            append(kCrLf);
            style(ReportStyle::Body);
        }
    }

    // The seven values as they are stored, "#0.00", tab-separated, then the line end: the
    // report prints what the project file holds.
    void appendResultValues(const std::array<float, 7>& values) {
        std::string line;
        for (std::size_t k = 0; k < ReturnPeriods.size(); ++k) {
            if (k > 0)
                line += "\t";
            line += FormatFixed(ParseLenient(StoredResultText(k, values[k])), 2);
        }
        append(line);
        append(kCrLf);
    }

    // Right under the table, whether or not the solve ran: the reader of a failed report still
    // needs to know which rainfall it was meant to use.
    void rainfallSource() {
        style(ReportStyle::Body);
        append(cellText(RainfallSourceLine(m_project)));
        append(kCrLf);
    }

    // The notes stand beside the results: a review that cannot run says so in its place.
    void reviewNotes() {
        append(kCrLf);
        style(ReportStyle::SectionTitle);
        append("Review Notes\r\n\r\n");
        style(ReportStyle::Body);
        std::vector<std::string> lines;
        for (const Finding& finding : ReviewSolve(m_project))
            lines.push_back(FindingLine(finding));
        if (lines.empty())
            lines.push_back("None: nothing a plan reviewer would flag was found.");
        for (const std::string& line : lines) {
            append(cellText(line));
            append(kCrLf);
        }
    }

    void closingNotice() {
        append("\r\n\r\n\r\n");
        style(ReportStyle::Heading);
        append(TabRun(8));
        append(kCrLf);
        style(ReportStyle::Body);
        m_out.setSize(8);
        m_out.setColor(kBlue);
        append("It's the engineer's responsibility to check the results of this software\r");
        append("There are no warranties implied or expressed, including but not\r");
        append(
            "limited to implied warranties of merchantability and fitness for a particular purpose\r");
        append("\r");
    }

    const ProjectSolve& m_project;
    const SolveInputs& m_in;
    const std::optional<SolveResult>& m_solve;
    const std::string& m_solveFailure;
    const ReportOptions m_options;
    RichTextWriter m_out;
};

} // namespace

RichDocument RenderReport(const ProjectSolve& solve, const ReportOptions& options) {
    return ReportRender(solve, options).run();
}

std::string RainfallSourceLine(const ProjectSolve& solve) {
    if (solve.location.empty())
        return "Rainfall: no location chosen";
    // A report is not refused for its source line: a table that could not be read has no record.
    const std::string& name = solve.rainfall ? solve.rainfall->name : solve.location;
    const std::string provenance = solve.rainfall ? solve.rainfall->provenance : std::string();
    std::string joined;
    std::istringstream lines(provenance);
    for (std::string line; std::getline(lines, line);) {
        const std::string trimmed = Trim(line, " \t\r");
        if (trimmed.empty())
            continue;
        // "before design." and "units" read "before design; units": the joint is the one mark.
        if (!joined.empty() &&
            (joined.back() == '.' || joined.back() == ',' || joined.back() == ';'))
            joined.pop_back();
        joined += (joined.empty() ? "" : joined.back() == ':' ? " " : "; ") + trimmed;
    }
    return "Rainfall: " + name + " \u2014 " + (joined.empty() ? "source not recorded" : joined);
}

} // namespace pluvane
