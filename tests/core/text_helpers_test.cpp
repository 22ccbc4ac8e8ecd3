// The shared text helpers: case, trimming, CSV cells, UTF-8 sequences.
#include "core/text/Text.h"

#include <gtest/gtest.h>

using namespace pluvane;

namespace {

TEST(TextHelpers, CaseIsAsciiCase) {
    EXPECT_TRUE(EqualsIgnoreCase("Fort Myers", "FORT myers"));
    EXPECT_FALSE(EqualsIgnoreCase("Fort Myers", "Fort Myers "));
    EXPECT_FALSE(
        EqualsIgnoreCase("\xC3\x89", "\xC3\xA9")); // É and é are other bytes, not other case
    EXPECT_EQ(LowerAscii("Duration_HOURS \xC3\x89"), "duration_hours \xC3\x89");
    EXPECT_TRUE(StartsWithIgnoreCase("Point precipitation", "POINT"));
    EXPECT_FALSE(StartsWithIgnoreCase("Po", "Point"));
    EXPECT_TRUE(ContainsIgnoreCase("PDS-based depth", "DEPTH"));
    EXPECT_FALSE(ContainsIgnoreCase("AMS-based", "pds"));
}

TEST(TextHelpers, TrimTakesTheGivenBlanks) {
    EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(Trim(" \r\n", " \t"), "\r\n");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(CellText("a\tb\nc\x7f"), "a b c ");
}

struct CsvCase {
    const char* line;
    std::vector<std::string> quoted, plain;
};

class CsvCells : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvCells, SplitAsDocumented) {
    EXPECT_EQ(SplitCsvQuoted(GetParam().line), GetParam().quoted);
    EXPECT_EQ(SplitCsvPlain(GetParam().line), GetParam().plain);
}

INSTANTIATE_TEST_SUITE_P(Lines, CsvCells,
                         ::testing::Values(CsvCase{"", {""}, {}}, CsvCase{",", {"", ""}, {"", ""}},
                                           CsvCase{"a, b ,", {"a", " b ", ""}, {"a", "b", ""}},
                                           CsvCase{"\"x, y\",\"say \"\"hi\"\"\"",
                                                   {"x, y", "say \"hi\""},
                                                   {"\"x", "y\"", "\"say \"\"hi\"\"\""}}));

TEST(TextHelpers, Utf8SequencesAreCheckedAndWritten) {
    EXPECT_EQ(Utf8SequenceLength("\xC3\xA9", 0), 2u);
    EXPECT_EQ(Utf8SequenceLength("\xE2\x80\x94", 0), 3u);
    EXPECT_EQ(Utf8SequenceLength("\xF0\x9F\x98\x80", 0), 4u);
    EXPECT_EQ(Utf8SequenceLength("\xC0\xAF", 0), 0u);     // overlong
    EXPECT_EQ(Utf8SequenceLength("\xED\xA0\x80", 0), 0u); // surrogate
    EXPECT_EQ(Utf8SequenceLength("\xE2\x80", 0), 0u);     // cut short
    EXPECT_EQ(Utf8SequenceLength("\xB0", 0), 0u);
    std::string out;
    for (char32_t code : {U'A', U'\u00B0', U'\u20AC'})
        AppendUtf8(out, code);
    EXPECT_EQ(out, "A\xC2\xB0\xE2\x82\xAC");
}

TEST(TextHelpers, PrintableTextEscapesWhatDrivesATerminal) {
    EXPECT_EQ(PrintableText("site\x1B[31m.rmt\a"), "site\\x1b[31m.rmt\\x07");
    EXPECT_EQ(PrintableText("a\nb\tc\x7F", "\n"), "a\nb\\x09c\\x7f");
    EXPECT_EQ(PrintableText("C1 \xC2\x9B, cut \xE2\x80, caf\xC3\xA9 \xE2\x80\x94"),
              "C1 \\xc2\\x9b, cut \\xe2\\x80, caf\xC3\xA9 \xE2\x80\x94");
}

} // namespace
