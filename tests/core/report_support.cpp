#include "report_support.h"

#include "core/Error.h"

#include "core/elements/ElementRecords.h"
#include "core/store/ProjectDb.h"
#include "core/text/NumberText.h"

#include <cstdio>

namespace pluvane::test {

std::string DumpParagraph(const Paragraph& paragraph) {
    // Appended piece by piece: g++ 12 at -O3 warns (-Wrestrict) about "literal" + std::string.
    std::string line = "[";
    line += std::to_string(paragraph.leftIndent);
    line += '/';
    line += std::to_string(paragraph.rightIndent);
    for (std::size_t k = 0; k < paragraph.tabStops.size(); ++k) {
        line += k == 0 ? ' ' : ',';
        line += std::to_string(paragraph.tabStops[k]);
    }
    line += "]";
    for (std::size_t r = 0; r < paragraph.runs.size(); ++r) {
        const Run& run = paragraph.runs[r];
        const CharFormat& f = run.format;
        line += r == 0 ? " {" : "{";
        line += PlainNumberText(f.size);
        if (f.bold)
            line += 'b';
        if (f.italic)
            line += 'i';
        if (f.underline)
            line += 'u';
        if (f.color != Color{}) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "#%02x%02x%02x", f.color.red, f.color.green,
                          f.color.blue);
            line += ' ';
            line += hex;
        }
        line += "}";
        for (char c : run.text)
            line += c == '\t' ? std::string("\\t") : std::string(1, c);
    }
    return line;
}

std::string Dump(const RichDocument& document) {
    std::string text;
    for (std::size_t p = 0; p < document.paragraphs.size(); ++p) {
        const bool lastAndEmpty =
            p + 1 == document.paragraphs.size() && document.paragraphs[p].runs.empty();
        if (!lastAndEmpty)
            text += DumpParagraph(document.paragraphs[p]) + "\n";
    }
    return text;
}

std::string DumpSection(const RichDocument& document, const std::string& first,
                        const std::string& end) {
    std::string text;
    bool inside = false;
    for (std::size_t p = 0; p < document.paragraphs.size(); ++p) {
        const Paragraph& paragraph = document.paragraphs[p];
        if (p + 1 == document.paragraphs.size() && paragraph.runs.empty())
            break; // the paragraph being written, left out as Dump does
        const std::string plain = paragraph.text();
        if (!inside && plain == first)
            inside = true;
        else if (inside && !end.empty() && plain == end)
            break;
        if (inside)
            text += DumpParagraph(paragraph) + "\n";
    }
    return text;
}

namespace {

SolvedReport solveAndRender(const Workspace& ws, const SolveOptions& solveOptions,
                            const ReportOptions& options) {
    const ProjectSolve solve = SolveProject(ws, solveOptions);
    return {RenderReport(solve, options), solve.result};
}

} // namespace

SolvedReport SolveAndRender(const Workspace& ws, const ReportOptions& options) {
    return solveAndRender(ws, SolveOptions{}, options);
}

SolvedReport SolveAndRender(const Workspace& ws, const std::string& location,
                            const ReportOptions& options) {
    SolveOptions solveOptions;
    solveOptions.location = location;
    return solveAndRender(ws, solveOptions, options);
}

std::string SourceLineFor(const Workspace& ws, const std::string& location) {
    ProjectSolve solve;
    solve.location = location;
    try {
        if (!location.empty())
            solve.rainfall = ReadRainfall(ws, location);
    } catch (const Error&) {
    }
    return RainfallSourceLine(solve);
}

void InsertProjectRows(const Workspace& ws, const std::string& location) {
    Database db = OpenProjectDb(ws);
    db.prepare(
          "INSERT INTO TblProjectInfo (ProjectName, DesignEngineer, ProjectManager, DesignDate, JobNumber, "
          "IValueBasinName) VALUES (?, ?, ?, ?, ?, ?)")
        .bindAll(std::string("Alder Creek Retail"), std::string("M. Okafor"),
                 std::string("R. Lindqvist"), std::string("2026-03-14"), std::string("24-117"),
                 location)
        .run();
    db.prepare(
          "INSERT INTO TblNodeInfo (NodeName, IntensityTable, NodeX, NodeY) VALUES (?, ?, ?, ?)")
        .bindAll(std::string("Outfall"), location, std::string("5040"), std::string("5160"))
        .run();
}

Workspace MakeWorkedProject(const TempFolder& folder) {
    Workspace ws = MakeWorkspace(folder);
    SaveLocation(ws, "Uniform Five", UniformGrid("5.0"));
    InsertProjectRows(ws, "Uniform Five");
    //            name          area   use             C      slope   L      n type            n       Tc
    InsertBasin(
        ws, "Basin1", 480, 480,
        {"North Lot", "2.5", "Asphalt", "0.95", "0.02", "100", "Smooth surfaces", "0.011", "1.52"});
    InsertBasin(ws, "Basin2", 480, 960,
                {"Lawn Strip", "1.5", "Lawns, sandy", "0.1", "0.01", "150", "Grass, short", "0.15",
                 "20.3"});
    //              name        slope   length  velocity  type       Tc
    InsertSurface(ws, "Surface1", 600, 1680,
                  {"Swale A", "0.01", "500", "1.6135", "Unpaved", "5.1647"});
    InsertSurface(ws, "Surface2", 600, 2160,
                  {"Gutter", "0.02", "200", "2.8742", "Paved", "1.1597"});
    //              name      area    WP      slope    length  material    n        V          Tc
    InsertChannel(
        ws, "Channel1", 480, 2520,
        {"Pipe 1", "3.14", "6.28", "0.005", "300", "Concrete", "0.013", "4.5678", "1.0946"});
    InsertChannel(ws, "Channel2", 480, 3000,
                  {"Ditch", "10", "8", "0.01", "400", "Grass", "0.03", "1.23456", "5.4"});
    return ws;
}

} // namespace pluvane::test
