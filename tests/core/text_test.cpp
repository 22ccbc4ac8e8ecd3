#include "core/Workspace.h"
#include "core/text/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace pluvane;

TEST(TextLenientParse, ReadsTheLeadingNumberOrZero) {
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"", 0.0},     {"abc", 0.0},    {"2.5 ft", 2.5},  {"2.5abc", 2.5},  {"1.2.3", 1.2},
        {"  3", 3.0},  {".5", 0.5},     {"5.", 5.0},      {"-0.02", -0.02}, {"+4", 4.0},
        {"-.5", -0.5}, {"1e3", 1000.0}, {"1E-2", 0.01},   {"1e", 1.0},      {"2e+", 2.0},
        {".", 0.0},    {"-", 0.0},      {"1,000", 1.0},   {"0.011", 0.011}, {"1e999", 0.0},
        {"007", 7.0},  {" - 3", 0.0},   {"4.84\r", 4.84},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(ParseLenient(c.text), c.expected) << '"' << c.text << '"';
}

TEST(TextFormatFixed, RoundsTheDecimalFormHalfAwayFromZero) {
    const struct {
        double value;
        int decimals;
        const char* expected;
    } cases[] = {
        {(0.70 + 0.95) / 2, 2, "0.83"}, // 0.82499999... in binary, 0.825 as a spreadsheet shows it
        {0.825, 2, "0.83"},
        {2.675, 2, "2.68"},
        {0.005, 2, "0.01"},
        {-1.005, 2, "-1.01"},
        {(0.25 + 0.40) / 2, 2, "0.33"},
        {45.0, 4, "45.0000"},
        {1.14243, 4, "1.1424"},
        {9.99995, 4, "10.0000"},
        {99.5, 0, "100"},
        {0.0, 2, "0.00"},
        {-0.004, 2, "0.00"},
        {1.5e-7, 4, "0.0000"},
        {1e20, 2, "100000000000000000000.00"},
        {123456.789, 3, "123456.789"},
        {0.1 + 0.2, 4, "0.3000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.decimals), c.expected) << c.value;
}

TEST(TextFormatFixed, NonFiniteValuesNeverPrintAsNumbers) {
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 2), "n/a");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 4), "n/a");
    EXPECT_EQ(PlainNumberText(-std::numeric_limits<double>::infinity()), "n/a");
}

TEST(TextPlainNumber, FifteenSignificantDigitsWithoutTrailingZeros) {
    const struct {
        double value;
        const char* expected;
    } cases[] = {
        {12.5, "12.5"},
        {0.35, "0.35"},
        {3.0, "3"},
        {0.1 + 0.2, "0.3"},
        {-2.5, "-2.5"},
        {-0.0, "0"},
        {1e15, "1e+15"},
        {123456789012345.0, "123456789012345"},
        {0.0001, "0.0001"},
        {0.00001, "1e-05"},
        {1.0 / 3.0, "0.333333333333333"},
        {650.0, "650"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlainNumberText(c.value), c.expected) << c.value;
}

TEST(TextShortestSingle, ReadsBackAsTheSameSingleValue) {
    EXPECT_EQ(ShortestText(650.0f), "650");
    EXPECT_EQ(ShortestText(650.5f), "650.5");
    EXPECT_EQ(ShortestText(0.1f), "0.1");
    EXPECT_EQ(ShortestText(-15.25f), "-15.25");
    EXPECT_EQ(ShortestText(49.5f), "49.5");
    EXPECT_EQ(ShortestText(100000.0f), "100000");
    EXPECT_EQ(ShortestText(0.0001f), "0.0001");
    const float awkward = 3.7820013f;
    EXPECT_EQ(static_cast<float>(ParseLenient(ShortestText(awkward))), awkward);
}

TEST(TextRoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(650.4), 650);
    EXPECT_EQ(RoundHalfEven(650.6), 651);
    EXPECT_EQ(RoundHalfEven(-0.6), -1);
}

TEST(WorkspaceDataFolder, ConfiguredPathFirstElseTheProgramFolder) {
    EXPECT_EQ(LookupDataFolder(std::string("/opt/pluvane/"), "/usr/bin"), "/opt/pluvane");
    EXPECT_EQ(LookupDataFolder(std::nullopt, "/home/me/pluvane/bin"), "/home/me/pluvane/bin");
    // A value that is present but empty points at the root folder, as configured.
    EXPECT_EQ(LookupDataFolder(std::string(""), "/usr/bin"), "");
    Workspace ws;
    ws.DataFolder = LookupDataFolder(std::string(""), "/usr/bin");
    EXPECT_EQ(ws.templatePath(), "/empty.mdb");
    ws.DataFolder = LookupDataFolder(std::nullopt, "/data");
    EXPECT_EQ(ws.intensityDbPath(), "/data/intensity.mdb");
}
