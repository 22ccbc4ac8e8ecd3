// The shipped CSV format written back: every shipped table round-trips through the writer.
#include "core/Error.h"
#include "core/rain/LocationCsv.h"
#include "core/rain/LocationCsvWriter.h"
#include "core/store/IntensityDb.h"
#include "core/store/ProjectDb.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace pluvane;

namespace {

std::vector<IntensityRow> rowsOf(const LocationFile& file) {
    std::vector<IntensityRow> rows;
    for (std::size_t r = 0; r < file.grid.size(); ++r)
        rows.push_back(IntensityRow{kDurationTexts[r], file.grid[r]});
    return rows;
}

} // namespace

TEST(LocationCsv, EveryShippedTableReadsBackUnchanged) {
    int tables = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(PLUVANE_SOURCE_DIR) / "data/idf")) {
        if (entry.path().extension() != ".csv")
            continue;
        ++tables;
        const LocationFile shipped = ParseLocationCsv(ReadTextFile(entry.path().string()));
        const std::string written =
            WriteLocationCsv(shipped.name, rowsOf(shipped), shipped.provenance);
        const LocationFile again = ParseLocationCsv(written);
        EXPECT_EQ(again.name, shipped.name) << entry.path();
        EXPECT_EQ(again.provenance, shipped.provenance) << entry.path();
        EXPECT_EQ(again.grid, shipped.grid) << entry.path();
        EXPECT_EQ(WriteLocationCsv(again.name, rowsOf(again), again.provenance), written)
            << entry.path();
    }
    EXPECT_GE(tables, 3);
}

TEST(LocationCsv, RefusesWhatTheFormatCannotCarry) {
    LocationFile file;
    file.name = "Test";
    for (auto& row : file.grid)
        row.fill("1.0");
    std::vector<IntensityRow> rows = rowsOf(file);
    EXPECT_NO_THROW(WriteLocationCsv("Test", rows, ""));
    rows[2].values[1] = "1,5";
    EXPECT_THROW(WriteLocationCsv("Test", rows, ""), Error);
    rows[2].values[1] = "1.5";
    rows.pop_back();
    EXPECT_THROW(WriteLocationCsv("Test", rows, ""), Error); // nine rows
    rows = rowsOf(file);
    std::swap(rows[0], rows[1]);
    EXPECT_THROW(WriteLocationCsv("Test", rows, ""), Error); // a duration out of its place
}

namespace {

struct RoundTripRow {
    const char* label;
    std::string name;
    std::string provenance;
};

const RoundTripRow kRoundTripRows[] = {
    {"key_like_source", "Pine Creek", "Location: Evil\n  location : Other"},
    {"blanks_and_cr", "Pine Creek", " padded  \r\nsecond\r"},
    {"tab_quote_backslash", "Pine Creek", "tab\tend \\x41 \"quoted\""},
    {"quoted_whole", "Pine Creek", "\"all in quotes\"\n\"\""},
    {"empty_lines", "Pine Creek", "\nmiddle\n\n"},
    {"bytes_outside_utf8", "Pine Creek", "caf\xE9 \x1B[31m na\xC3\xAFve \xC2\x85"},
    {"name_with_dashes", "--Dashed", "source: typed"},
};

class RoundTripTest : public ::testing::TestWithParam<RoundTripRow> {};

} // namespace

TEST_P(RoundTripTest, ReadsBackByteForByte) {
    const RoundTripRow& row = GetParam();
    LocationFile file;
    for (auto& r : file.grid)
        r.fill("2.5");
    const std::string written = WriteLocationCsv(row.name, rowsOf(file), row.provenance);
    const LocationFile again = ParseLocationCsv(written);
    EXPECT_EQ(again.name, row.name) << written;
    EXPECT_EQ(again.provenance, row.provenance) << written;
    EXPECT_EQ(again.grid, file.grid);
}

INSTANTIATE_TEST_SUITE_P(Sources, RoundTripTest, ::testing::ValuesIn(kRoundTripRows),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(LocationCsv, HandWrittenCommentsReadAsBefore) {
    // Only a comment that is wholly a quoted text as the writer makes it is unquoted.
    std::string csv = "# location:  Pine Creek \n#  source: NOAA  \n# \"half\" quoted\n"
                      "# \"bad \\q escape\"\nduration_hours,1,2,5,10,25,50,100\n";
    for (const char* hours : kDurationTexts)
        csv += std::string(hours) + ",1,1,1,1,1,1,1\n";
    const LocationFile file = ParseLocationCsv(csv);
    EXPECT_EQ(file.name, "Pine Creek");
    EXPECT_EQ(file.provenance, "source: NOAA\n\"half\" quoted\n\"bad \\q escape\"");
}

TEST(LocationCsv, RefusesANameOrCellItCannotGiveBack) {
    LocationFile file;
    for (auto& r : file.grid)
        r.fill("1.0");
    EXPECT_THROW(WriteLocationCsv(" Spaced ", rowsOf(file), ""), Error);
    std::vector<IntensityRow> rows = rowsOf(file);
    rows[3].values[2] = " 1.0";
    EXPECT_THROW(WriteLocationCsv("Test", rows, ""), Error);
}
