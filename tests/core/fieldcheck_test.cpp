#include "core/Error.h"
#include "core/elements/FieldCheck.h"

#include <gtest/gtest.h>

using namespace pluvane;

TEST(FieldCheckPlainNumber, TakesOnlyWhatTheKeyFilterLetsBeTyped) {
    const struct {
        const char* text;
        bool plain;
    } cases[] = {
        {"12", true},        {"0.5", true},  {".5", true},   {"5.", true},      {"007", true},
        {"-0.02", true},     {"", false},    {".", false},   {"-", false},      {"12abc", false},
        {"0.00.005", false}, {"1e3", false}, {" 3", false},  {"3 ", false},     {"1,000", false},
        {"0,5%", false},     {"+4", false},  {"--1", false}, {"4.84\r", false}, {"abc", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsPlainNumber(c.text), c.plain) << '"' << c.text << '"';
}

TEST(FieldCheckPlainNumber, TheMessageNamesTheFieldAndTheText) {
    EXPECT_NO_THROW(CheckPlainNumber("Area", "1.5"));
    try {
        CheckPlainNumber("Area", "12abc");
        FAIL() << "not refused";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Area: '12abc' is not a number");
        EXPECT_EQ(e.title(), "Error");
    }
}

TEST(FieldCheckHandEdited, AnAtlasSourceSaysItWasEditedOncePerDate) {
    const std::string atlas = "source: NOAA Atlas 14 Volume 9 Version 2\npoint: 33.4 N\n";
    const std::string once = MarkHandEdited(atlas, "2026-12-08");
    EXPECT_EQ(
        once,
        "source: NOAA Atlas 14 Volume 9 Version 2\npoint: 33.4 N\nedited by hand on 2026-12-08");
    EXPECT_EQ(MarkHandEdited(once, "2026-12-08"), once);
    EXPECT_EQ(MarkHandEdited(once, "2027-01-02"), once + "\nedited by hand on 2027-01-02");
    // Sources that cite no published atlas stay as the user wrote them.
    EXPECT_EQ(MarkHandEdited("County drainage manual, table 4-2", "2026-12-08"),
              "County drainage manual, table 4-2");
    EXPECT_EQ(MarkHandEdited("", "2026-12-08"), "");
}
