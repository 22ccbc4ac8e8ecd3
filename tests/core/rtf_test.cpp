// The RTF and plain-text writers and the file writer; the report's RTF read back by pandoc, an
// RTF reader of its own, as a check that others read what we write.
#include "core/Error.h"
#include "core/elements/ElementRecords.h"
#include "core/report/ReportBuilder.h"
#include "core/report/RtfWriter.h"
#include "core/store/ProjectDb.h"
#include "report_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#ifndef _WIN32
#include <sys/wait.h>
#endif

using namespace pluvane;
using namespace pluvane::test;

namespace fs = std::filesystem;

namespace {

constexpr const char* kRtfHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n"
    "{\\colortbl;\\red0\\green0\\blue0;}\n"
    "\\paperw12240\\paperh15840\\margl1080\\margr1080\\margt1080\\margb1080\\f0\n";

// The RTF of one paragraph holding `text` in the default format, without the header.
std::string rtfOfText(const std::string& text) {
    RichDocument document;
    document.paragraphs[0].runs.push_back(pluvane::Run{text, CharFormat{}});
    const std::string rtf = WriteRtf(document);
    const std::string header = kRtfHeader;
    EXPECT_EQ(rtf.substr(0, header.size()), header);
    return rtf.substr(header.size());
}

std::string fileText(const std::string& path) { return ReadTextFile(path); }

#ifdef _WIN32
// The pandoc checks run on the POSIX build only.
std::pair<std::string, int> run(const std::string&) { return {"", -1}; }
bool havePandoc() { return false; }
#else
// Runs a shell command; its standard output and exit code.
std::pair<std::string, int> run(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return {"", -1};
    std::array<char, 4096> buffer{};
    while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        output.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

bool havePandoc() { return std::system("command -v pandoc >/dev/null 2>&1") == 0; }
#endif

// Lines compared the way pandoc's plain output can be: pandoc turns tabs into spaces, collapses
// runs of blanks, trims lines and puts blank lines between paragraphs, and it leaves out empty
// paragraphs and those holding only tabs (the rule lines). So both sides become their non-blank
// lines with blanks collapsed and trimmed.
std::vector<std::string> normalisedLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::string collapsed;
        for (char c : line) {
            const bool blank = c == ' ' || c == '\t' || c == '\r';
            if (!blank)
                collapsed += c;
            else if (!collapsed.empty() && collapsed.back() != ' ')
                collapsed += ' ';
        }
        while (!collapsed.empty() && collapsed.back() == ' ')
            collapsed.pop_back();
        if (!collapsed.empty())
            lines.push_back(collapsed);
    }
    return lines;
}

} // namespace

TEST(RtfWriter, SmallDocumentIsWrittenExactly) {
    RichTextWriter writer;
    writer.setIndents(300, 200);
    writer.setTabStops({2000, 4000, 4000, 1000}); // repeated and out of order
    writer.setSize(12);
    writer.setBold(true);
    writer.append("Name");
    writer.setBold(false);
    writer.append("\tValue\r\n");
    writer.setColor({0, 0, 255});
    writer.setSize(8);
    writer.setUnderline(true);
    writer.setItalic(true);
    writer.append("Note\r\n\r\n");
    EXPECT_EQ(
        WriteRtf(writer.document()),
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\n"
        "\\paperw12240\\paperh15840\\margl1080\\margr1080\\margt1080\\margb1080\\f0\n"
        "\\pard\\li300\\ri200\\tx1000\\tx2000\\tx4000 \\fs24\\b\\i0\\ulnone\\cf1 Name\\b0 \\tab Value\\par\n"
        "\\pard\\li300\\ri200\\tx1000\\tx2000\\tx4000 \\fs16\\b0\\i\\ul\\cf2 Note\\par\n"
        "\\pard\\li300\\ri200\\tx1000\\tx2000\\tx4000 \\par\n"
        "}\n");
    EXPECT_EQ(WritePlainText(writer.document()), "Name\tValue\nNote\n\n");
}

TEST(RtfWriter, EmptyDocumentIsAValidFileWithoutParagraphs) {
    EXPECT_EQ(
        WriteRtf(RichDocument{}),
        std::string(
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n"
            "{\\colortbl;}\n"
            "\\paperw12240\\paperh15840\\margl1080\\margr1080\\margt1080\\margb1080\\f0\n}\n"));
    EXPECT_EQ(WritePlainText(RichDocument{}), "");
}

TEST(RtfWriter, EveryParagraphStatesItsFormatAndColoursAreListedOnce) {
    // Some readers forget character formatting at \pard, so a paragraph never relies on the
    // one before; the colour table holds each colour once, in the order of first use.
    RichTextWriter writer;
    writer.setColor({255, 0, 0});
    writer.setSize(10.5);
    writer.setBold(true);
    writer.append("red\r");
    writer.setColor({0, 0, 0});
    writer.append("black\r");
    writer.setColor({255, 0, 0});
    writer.append("red again\r");
    const std::string rtf = WriteRtf(writer.document());
    EXPECT_NE(rtf.find("{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue0;}"),
              std::string::npos);
    EXPECT_NE(rtf.find("\\pard \\fs21\\b\\i0\\ulnone\\cf1 red\\par\n"), std::string::npos);
    EXPECT_NE(rtf.find("\\pard \\fs21\\b\\i0\\ulnone\\cf2 black\\par\n"), std::string::npos);
    EXPECT_NE(rtf.find("\\pard \\fs21\\b\\i0\\ulnone\\cf1 red again\\par\n"), std::string::npos);
}

TEST(RtfEscaping, BracesBackslashesAndNonAsciiComeOutIntact) {
    const struct {
        const char* text;
        const char* rtf;
    } cases[] = {
        {"Lot {7} \\ \"A\"", "Lot \\{7\\} \\\\ \"A\""},
        {"Caf\xC3\xA9", "Caf\\u233\\'3f"}, // é, two UTF-8 bytes
        {"\xE2\x82\xAC"
         "5",
         "\\u8364\\'3f5"},                                     // €, then a digit
        {"\xEA\xB0\x80", "\\u-21504\\'3f"},                    // U+AC00 > 32767: negative
        {"\xF0\x9D\x84\x9E!", "\\u-10188\\'3f\\u-8930\\'3f!"}, // U+1D11E: a surrogate pair
        {"a\tb", "a\\tab b"},
        {"a\x01"
         "b\x7F"
         "c\x1B",
         "abc"}, // control characters dropped
        {"a\xFF"
         "b",
         "a\\u-3\\'3fb"},                                   // not UTF-8: U+FFFD
        {"\xC0\xAF", "\\u-3\\'3f\\u-3\\'3f"},               // overlong "/"
        {"\xED\xA0\x80", "\\u-3\\'3f\\u-3\\'3f\\u-3\\'3f"}, // an encoded surrogate
        {"end\xC3", "end\\u-3\\'3f"},                       // cut short
    };
    for (const auto& c : cases)
        EXPECT_EQ(rtfOfText(c.text),
                  std::string("\\pard \\fs20\\b0\\i0\\ulnone\\cf1 ") + c.rtf + "\\par\n}\n")
            << c.text;
}

TEST(RtfEscaping, PlainTextCarriesTheSameCharacters) {
    RichDocument document;
    document.paragraphs[0].runs.push_back(
        pluvane::Run{"Caf\xC3\xA9\tLot {7}\x01\xFF", CharFormat{}});
    document.paragraphs.push_back(Paragraph{});
    document.paragraphs.push_back(
        Paragraph{0, 0, {}, {pluvane::Run{"\xF0\x9D\x84\x9E", CharFormat{}}}});
    EXPECT_EQ(WritePlainText(document), "Caf\xC3\xA9\tLot {7}\xEF\xBF\xBD\n\n\xF0\x9D\x84\x9E\n");
}

TEST(RtfFile, WritesReplacesAndReadsBack) {
    TempFolder folder;
    const std::string path = folder.file("report.rtf");
    SaveFileAtomically(path, "first");
    EXPECT_EQ(fileText(path), "first");
    SaveFileAtomically(path, "second, longer than the first");
    EXPECT_EQ(fileText(path), "second, longer than the first");
    EXPECT_FALSE(fs::exists(path + ".part"));

    RichTextWriter writer;
    writer.append("Caf\xC3\xA9 {1}\r\n");
    SaveRtf(writer.document(), path);
    EXPECT_EQ(fileText(path), WriteRtf(writer.document()));
    SavePlainText(writer.document(), folder.file("report.txt"));
    EXPECT_EQ(fileText(folder.file("report.txt")), "Caf\xC3\xA9 {1}\n");
}

TEST(RtfFile, AFailedWriteSaysSoAndLeavesTheOldFile) {
    TempFolder folder;
    const std::string missingFolder = folder.file("nowhere/report.rtf");
    EXPECT_EQ(ErrorMessageOf([&] { SaveFileAtomically(missingFolder, "x"); }),
              "The file \"" + missingFolder + "\" cannot be written: the folder \"" +
                  folder.file("nowhere") + "\" does not exist.");
    EXPECT_FALSE(fs::exists(missingFolder));

    const std::string folderPath = folder.path().string();
    EXPECT_EQ(ErrorMessageOf([&] { SaveFileAtomically(folderPath, "x"); }),
              "\"" + folderPath + "\" is a folder; choose a file name.");
    EXPECT_EQ(ErrorMessageOf([&] { SaveFileAtomically("", "x"); }), "No file name was given.");

    // A folder named as the old fixed temporary name is neither in the way nor removed.
    const std::string path = folder.file("kept.rtf");
    SaveFileAtomically(path, "old contents");
    fs::create_directory(path + ".part");
    EXPECT_EQ(ErrorMessageOf([&] { SaveFileAtomically(path, "new contents"); }), "");
    EXPECT_EQ(fileText(path), "new contents");
    EXPECT_TRUE(fs::is_directory(path + ".part"));
}

TEST(RtfPandoc, TheReportReadsBackAsItsPlainTextWithBoldAndUnderline) {
    if (!havePandoc())
        GTEST_SKIP() << "pandoc is not on PATH";
    TempFolder folder;
    Workspace ws = MakeWorkedProject(folder);
    InsertBasin(
        ws, "Basin3", 480, 1440,
        {"Lot {7} \\ \"A\"", "1", "Caf\xC3\xA9 lawn", "0.2", "0.01", "80", "Grass", "0.24", "9"});
    InsertSurface(ws, "Surface3", 600, 2640,
                  {"Caf\xC3\xA9 walk", "0.02", "50", "2.9", "Paved", "0.3"});
    const SolvedReport report = SolveAndRender(ws);
    const std::string path = folder.file("report.rtf");
    SaveRtf(report.document, path);

    const auto [plain, plainStatus] = run("pandoc -f rtf -t plain --wrap=none '" + path + "'");
    ASSERT_EQ(plainStatus, 0) << plain;
    const std::vector<std::string> ours = normalisedLines(WritePlainText(report.document));
    EXPECT_EQ(normalisedLines(plain), ours);
    EXPECT_NE(std::find(ours.begin(), ours.end(), "Lot {7} \\ \"A\" 1 0.01 80 Grass 0.24 9"),
              ours.end());
    EXPECT_NE(std::find(ours.begin(), ours.end(), "Caf\xC3\xA9 walk Paved 0.02 50 2.9 0.3"),
              ours.end());

    const auto [json, jsonStatus] = run("pandoc -f rtf -t json '" + path + "'");
    ASSERT_EQ(jsonStatus, 0) << json;
    const auto has = [&json = json](const std::string& fragment) {
        return json.find(fragment) != std::string::npos;
    };
    // A label bold only, its value plain.
    EXPECT_TRUE(has(
        R"j({"t":"Para","c":[{"t":"Strong","c":[{"t":"Str","c":"Project"},{"t":"Space"},{"t":"Str","c":"Name:"}]},{"t":"Space"},{"t":"Str","c":"Alder"})j"));
    // A section title bold, italic and underlined.
    EXPECT_TRUE(has(
        R"j({"t":"Strong","c":[{"t":"Emph","c":[{"t":"Underline","c":[{"t":"Str","c":"Channel"},{"t":"Space"},{"t":"Str","c":"Flow"}]}]}]})j"));
    // A heading bold and underlined.
    EXPECT_TRUE(has(
        R"j({"t":"Para","c":[{"t":"Strong","c":[{"t":"Underline","c":[{"t":"Str","c":"Average"},{"t":"Space"},{"t":"Str","c":"Runoff"},{"t":"Space"},{"t":"Str","c":"Coefficient"}]}]}]})j"));
    // The channel subtotal underlined but not bold.
    EXPECT_TRUE(has(
        R"j({"t":"Para","c":[{"t":"Underline","c":[{"t":"Str","c":"Channel"},{"t":"Space"},{"t":"Str","c":"Flow"},{"t":"Space"},{"t":"Str","c":"Tc"})j"));
    // A body row plain.
    EXPECT_TRUE(
        has(R"j({"t":"Para","c":[{"t":"Str","c":"North"},{"t":"Space"},{"t":"Str","c":"Lot"})j"));
    // The row label of the results bold, its values plain.
    EXPECT_TRUE(has(
        R"j({"t":"Para","c":[{"t":"Strong","c":[{"t":"Str","c":"Q(cfs)"},{"t":"Space"}]},{"t":"Str","c":)j"));

    // The reader is a real check: it refuses the file without its closing brace.
    const std::string rtf = WriteRtf(report.document);
    SaveFileAtomically(path, rtf.substr(0, rtf.rfind('}')));
    EXPECT_NE(run("pandoc -f rtf -t plain '" + path + "' 2>/dev/null").second, 0);
}
