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
