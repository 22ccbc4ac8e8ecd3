// The importer of published rainfall tables: NOAA PFDS CSV files in the variants the data
// server and spreadsheets produce, written here by hand, and the shipped CSV format.
#include "TestSupport.h"
#include "core/Error.h"
#include "core/rain/RainfallImport.h"
#include "core/text/NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <vector>

using namespace pluvane;
using namespace pluvane::test;

namespace {

// The depth table (inches) of the file below: 19 rows, ten columns 1 ... 1000 years.
struct DepthRow {
    const char* label;
    std::array<const char*, 10> values;
};
const std::array<DepthRow, 19> kDepths{{
    {"5-min",
     {"0.409", "0.485", "0.575", "0.647", "0.740", "0.812", "0.884", "0.960", "1.06", "1.14"}},
    {"10-min",
     {"0.599", "0.710", "0.842", "0.947", "1.08", "1.19", "1.29", "1.40", "1.55", "1.66"}},
    {"15-min", {"0.730", "0.866", "1.03", "1.16", "1.32", "1.45", "1.58", "1.71", "1.89", "2.03"}},
    {"30-min", {"1.00", "1.19", "1.43", "1.62", "1.87", "2.07", "2.27", "2.47", "2.75", "2.96"}},
    {"60-min", {"1.29", "1.54", "1.87", "2.14", "2.52", "2.82", "3.13", "3.45", "3.89", "4.24"}},
    {"2-hr", {"1.58", "1.89", "2.32", "2.68", "3.19", "3.62", "4.06", "4.53", "5.19", "5.72"}},
    {"3-hr", {"1.73", "2.07", "2.56", "2.97", "3.56", "4.05", "4.57", "5.12", "5.90", "6.54"}},
    {"6-hr", {"2.06", "2.46", "3.05", "3.56", "4.30", "4.93", "5.60", "6.32", "7.36", "8.22"}},
    {"12-hr", {"2.40", "2.86", "3.53", "4.11", "4.96", "5.67", "6.44", "7.26", "8.44", "9.42"}},
    {"24-hr", {"2.77", "3.30", "4.07", "4.73", "5.69", "6.49", "7.35", "8.27", "9.58", "10.7"}},
    {"2-day", {"3.21", "3.82", "4.70", "5.45", "6.53", "7.42", "8.37", "9.38", "10.8", "12.0"}},
    {"3-day", {"3.43", "4.07", "5.00", "5.78", "6.91", "7.84", "8.82", "9.86", "11.3", "12.5"}},
    {"4-day", {"3.65", "4.32", "5.29", "6.10", "7.28", "8.25", "9.27", "10.3", "11.8", "13.1"}},
    {"7-day", {"4.24", "5.00", "6.07", "6.97", "8.25", "9.30", "10.4", "11.5", "13.1", "14.4"}},
    {"10-day", {"4.82", "5.67", "6.82", "7.77", "9.10", "10.2", "11.3", "12.4", "14.0", "15.3"}},
    {"20-day", {"6.55", "7.68", "9.06", "10.2", "11.6", "12.8", "14.0", "15.1", "16.7", "17.9"}},
    {"30-day", {"8.05", "9.41", "10.9", "12.1", "13.7", "14.9", "16.1", "17.3", "18.9", "20.1"}},
    {"45-day", {"9.98", "11.6", "13.2", "14.5", "16.2", "17.5", "18.8", "20.1", "21.8", "23.1"}},
    {"60-day", {"11.5", "13.5", "15.2", "16.6", "18.5", "20.0", "21.6", "23.3", "25.7", "27.5"}},
}};
const std::array<int, 10> kFilePeriods{1, 2, 5, 10, 25, 50, 100, 200, 500, 1000};

// The intensities (in/hr, 3 significant figures) worked by hand from kDepths as depth * 60 /
// minutes, e.g. 0.409 * 12 = 4.908 -> 4.91, 0.884 * 12 = 10.608 -> 10.6, 3.13 / 1 = 3.13,
// 2.77 / 24 = 0.11542 -> 0.115, 7.35 / 24 = 0.30625 -> 0.306. Halves round up:
// 3.19 / 2 = 1.595 -> 1.60, 5.67 / 12 = 0.4725 -> 0.473, 3.30 / 24 = 0.1375 -> 0.138.
// Trailing zeros stay: 2.07 / 3 = 0.69 -> 0.690, 1.00 * 2 -> 2.00.
const IntensityGrid kHandIntensities{{
    {"4.91", "5.82", "6.90", "7.76", "8.88", "9.74", "10.6"},
    {"3.59", "4.26", "5.05", "5.68", "6.48", "7.14", "7.74"},
    {"2.92", "3.46", "4.12", "4.64", "5.28", "5.80", "6.32"},
    {"2.00", "2.38", "2.86", "3.24", "3.74", "4.14", "4.54"},
    {"1.29", "1.54", "1.87", "2.14", "2.52", "2.82", "3.13"},
    {"0.790", "0.945", "1.16", "1.34", "1.60", "1.81", "2.03"},
    {"0.577", "0.690", "0.853", "0.990", "1.19", "1.35", "1.52"},
    {"0.343", "0.410", "0.508", "0.593", "0.717", "0.822", "0.933"},
    {"0.200", "0.238", "0.294", "0.343", "0.413", "0.473", "0.537"},
    {"0.115", "0.138", "0.170", "0.197", "0.237", "0.270", "0.306"},
}};

const char* const kDepthProvenance =
    "Point precipitation frequency estimates (inches)\n"
    "NOAA Atlas 14 Volume 2 Version 3\n"
    "Data type: Precipitation depth\n"
    "Time series type: Partial duration\n"
    "Project area: Ohio River Basin\n"
    "Location name (ESRI Maps): Champaign, Illinois, USA\n"
    "Latitude: 40.0962 Degree\n"
    "Longitude: -88.2574 Degree\n"
    "Elevation (USGS): 755 ft\n"
    "Date/time (GMT): Mon Jun 19 14:23:29 2023\n"
    "converted from depth as depth / duration, in/hr to 3 significant figures";

// How a test file differs from the plain depth download.
struct Variant {
    std::string units = "inches";
    std::string dataType = "Precipitation depth";
    std::string series = "Partial duration";
    std::string header = "by duration for ARI (years):";
    std::vector<int> periods{kFilePeriods.begin(), kFilePeriods.end()};    // header order
    std::function<std::string(std::size_t row, std::size_t column)> value; // default kDepths
    std::string location = "Champaign, Illinois, USA";
    std::string latitude = "40.0962 Degree";
    std::string trailer; // lines after the table block (confidence bounds)
};

std::string fileOf(const Variant& v) {
    std::string text = "Point precipitation frequency estimates (" + v.units +
                       ")\n"
                       "NOAA Atlas 14 Volume 2 Version 3\n"
                       "Data type: " +
                       v.dataType +
                       "\n"
                       "Time series type: " +
                       v.series +
                       "\n"
                       "Project area: Ohio River Basin\n";
    if (!v.location.empty())
        text += "Location name (ESRI Maps): " + v.location + "\n";
    text += "Station Name: -\n"
            "Latitude: " +
            v.latitude +
            "\n"
            "Longitude: -88.2574 Degree\n"
            "Elevation (USGS): 755 ft\n"
            "\n\n"
            "PRECIPITATION FREQUENCY ESTIMATES\n" +
            v.header + ",";
    for (std::size_t k = 0; k < v.periods.size(); ++k)
        text += (k ? "," : " ") + std::to_string(v.periods[k]);
    text += "\n";
    for (std::size_t r = 0; r < kDepths.size(); ++r) {
        text += std::string(kDepths[r].label) + ":,";
        for (std::size_t k = 0; k < v.periods.size(); ++k) {
            const auto column = static_cast<std::size_t>(
                std::find(kFilePeriods.begin(), kFilePeriods.end(), v.periods[k]) -
                kFilePeriods.begin());
            text += (k ? "," : " ") +
                    (v.value ? v.value(r, column) : std::string(kDepths[r].values[column]));
        }
        text += "\n";
    }
    text += v.trailer +
            "\nDate/time (GMT):  Mon Jun 19 14:23:29 2023\npyRunTime:  0.013230323791503906\n";
    return text;
}

std::string depthFile() { return fileOf({}); }

// What a spreadsheet makes of a file: every line padded with commas, the colon after each
// label and key dropped, cells that hold commas quoted.
std::string spreadsheetResaved(const std::string& text) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (const auto colon = line.find(':'); colon != std::string::npos)
            line.erase(colon, 1);
        if (line.find("Location name") == 0)
            line = "\"" + line + "\"";
        const auto cells = static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')) + 1;
        out += line + std::string(cells < 11 ? 11 - cells : 0, ',') + "\n";
    }
    return out;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

} // namespace

TEST(ImportPfds, DepthFileIsConvertedToIntensityAsWorkedByHand) {
    const ImportedTable imported = ImportRainfallFile(depthFile());
    EXPECT_EQ(imported.table.grid, kHandIntensities);
    EXPECT_EQ(imported.table.name, "Champaign");
    EXPECT_EQ(imported.table.provenance, kDepthProvenance);
    EXPECT_TRUE(imported.warnings.empty()) << imported.warnings.front();

    Variant spelledOut;
    spelledOut.units = "in inches";
    EXPECT_EQ(ImportRainfallFile(fileOf(spelledOut)).table.grid, kHandIntensities);
}

TEST(ImportPfds, ThreeSignificantFiguresAcrossAPowerOfTenAndBelowOneTenth) {
    std::string text =
        replaced(depthFile(), "0.740,0.812", "0.740,0.833");    // 0.833 * 12 = 9.996 -> 10.0
    text = replaced(text, "24-hr:, 2.77", "24-hr:, 1.19");      // 1.19 / 24 = 0.049583 -> 0.0496
    text = replaced(text, "2.07,2.27,2.47", "2.07,49.99,2.47"); // 49.99 * 2 = 99.98 -> 100
    const ImportedTable imported = ImportRainfallFile(text);
    EXPECT_EQ(imported.table.grid[0][5], "10.0");
    EXPECT_EQ(imported.table.grid[9][0], "0.0496");
    EXPECT_EQ(imported.table.grid[3][6], "100");
}

TEST(ImportPfds, IntensityFileIsTakenAsPrinted) {
    Variant v;
    v.units = "inches/hour";
    v.dataType = "Precipitation intensity";
    // Published intensities, with the blank after each comma the server writes and one
    // trailing zero that must survive.
    v.value = [](std::size_t r, std::size_t k) {
        return r < 10 && k < 7 ? " " + kHandIntensities[r][k] : std::string("0.0500");
    };
    const ImportedTable imported = ImportRainfallFile(fileOf(v));
    EXPECT_EQ(imported.table.grid, kHandIntensities);
    EXPECT_EQ(imported.table.provenance.find("converted"), std::string::npos);
    EXPECT_NE(imported.table.provenance.find("Data type: Precipitation intensity"),
              std::string::npos);
    EXPECT_TRUE(imported.warnings.empty());
}

TEST(ImportPfds, ColumnsAreMatchedByTheirHeaderValues) {
    Variant v;
    v.periods = {1000, 100, 5, 500, 1, 50, 10, 25, 200, 2};
    EXPECT_EQ(ImportRainfallFile(fileOf(v)).table.grid, kHandIntensities);

    // Only the seven columns used: the longer periods are not needed.
    v.periods = {100, 50, 25, 10, 5, 2, 1};
    EXPECT_EQ(ImportRainfallFile(fileOf(v)).table.grid, kHandIntensities);

    v.periods = {1, 2, 5, 10, 50, 100, 200, 500, 1000};
    EXPECT_NE(
        ErrorMessageOf([&] { ImportRainfallFile(fileOf(v)); }).find("no column for the 25-year"),
        std::string::npos);
}

TEST(ImportPfds, SpreadsheetPaddingQuotesAndDroppedColonsChangeNothing) {
    const std::string resaved = spreadsheetResaved(depthFile());
    ASSERT_NE(resaved.find("5-min, 0.409"), std::string::npos); // the colon is gone
    ASSERT_NE(resaved.find("Latitude 40.0962 Degree,,,,,,,,,,"), std::string::npos);
    const ImportedTable imported = ImportRainfallFile(resaved);
    EXPECT_EQ(imported.table.grid, kHandIntensities);
    EXPECT_EQ(imported.table.name, "Champaign");
    EXPECT_EQ(imported.table.provenance, kDepthProvenance);
    EXPECT_TRUE(imported.warnings.empty());
}

TEST(ImportPfds, WindowsBytesAndLineEndsAreRead) {
    Variant v;
    v.latitude = "40.4167\xB0"; // the degree sign in Windows-1252
    std::string crlf;
    for (char c : fileOf(v))
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const ImportedTable imported = ImportRainfallFile(crlf);
    EXPECT_EQ(imported.table.grid, kHandIntensities);
    EXPECT_NE(imported.table.provenance.find("Latitude: 40.4167\xC2\xB0\nLongitude"),
              std::string::npos)
        << imported.table.provenance;
    EXPECT_EQ(imported.table.provenance.find('\r'), std::string::npos);

    // UTF-8 stays as it is (not read twice), a byte-order mark is dropped, and a lone CR ends
    // a line too.
    v.latitude = "40.4167\xC2\xB0";
    std::string mac;
    for (char c : fileOf(v))
        mac += c == '\n' ? '\r' : c;
    const ImportedTable utf8 = ImportRainfallFile("\xEF\xBB\xBF" + mac);
    EXPECT_EQ(utf8.table.grid, kHandIntensities);
    EXPECT_NE(utf8.table.provenance.find("Latitude: 40.4167\xC2\xB0\n"), std::string::npos);
    EXPECT_EQ(utf8.table.provenance.rfind("Point precipitation", 0), 0u);
}

TEST(ImportPfds, OnlyTheFirstBlockIsTakenNotTheConfidenceBounds) {
    // An "all statistics" download: the upper and lower 90% bounds follow as blocks of the same
    // shape, with or without a blank line before their titles.
    std::string bounds;
    for (const char* title :
         {"PRECIPITATION FREQUENCY ESTIMATES AT UPPER BOUND OF 90% CONFIDENCE INTERVAL",
          "PRECIPITATION FREQUENCY ESTIMATES AT LOWER BOUND OF 90% CONFIDENCE INTERVAL"}) {
        bounds += std::string(title) +
                  "\nby duration for ARI (years):, 1,2,5,10,25,50,100,200,500,1000\n";
        for (const DepthRow& row : kDepths)
            bounds += std::string(row.label) + ":, 9,9,9,9,9,9,9,9,9,9\n";
    }
    Variant v;
    v.trailer = bounds;
    EXPECT_EQ(ImportRainfallFile(fileOf(v)).table.grid, kHandIntensities);
    v.trailer = "\n" + bounds;
    EXPECT_EQ(ImportRainfallFile(fileOf(v)).table.grid, kHandIntensities);
}

TEST(ImportPfds, MillimetresAreConvertedToInchesWithAWarning) {
    // The same estimates in millimetres: depth * 25.4 written out, read back / 25.4.
    const auto toMillimetres = [](const std::string& inches) {
        return PlainNumberText(std::stod(inches) * 25.4);
    };
    Variant depth;
    depth.units = "millimeters";
    depth.value = [&](std::size_t r, std::size_t k) { return toMillimetres(kDepths[r].values[k]); };
    ASSERT_NE(fileOf(depth).find("5-min:, 10.3886,"), std::string::npos); // 0.409 * 25.4
    const ImportedTable imported = ImportRainfallFile(fileOf(depth));
    const IntensityGrid& g = imported.table.grid;
    // 5-min, 60-min and 24-hr of the 1- and 100-year columns, as worked above.
    EXPECT_EQ(g[0][0], "4.91");
    EXPECT_EQ(g[0][6], "10.6");
    EXPECT_EQ(g[4][0], "1.29");
    EXPECT_EQ(g[4][6], "3.13");
    EXPECT_EQ(g[9][0], "0.115");
    EXPECT_EQ(g[9][6], "0.306");
    ASSERT_EQ(imported.warnings.size(), 1u);
    EXPECT_NE(imported.warnings[0].find("millimeters"), std::string::npos);
    EXPECT_NE(imported.table.provenance.find(
                  "converted from depth as depth / duration, millimeters to inches"),
              std::string::npos);

    // Intensities in mm/hr: 124.714 mm/hr / 25.4 = 4.91 in/hr.
    Variant intensity;
    intensity.units = "millimeters/hour";
    intensity.dataType = "Precipitation intensity";
    intensity.value = [&](std::size_t r, std::size_t k) {
        return toMillimetres(r < 10 && k < 7 ? kHandIntensities[r][k] : std::string("0.0500"));
    };
    const ImportedTable perHour = ImportRainfallFile(fileOf(intensity));
    EXPECT_EQ(perHour.table.grid, kHandIntensities);
    EXPECT_EQ(perHour.warnings.size(), 1u);
}

TEST(ImportPfds, AnnualMaximumSeriesIsRefusedWithItsReason) {
    // AEP columns; "'1/2" is the 2-year column, never "12".
    Variant v;
    v.series = "Annual maximum";
    v.header = "by duration for AEP:";
    std::string ams = fileOf(v);
    ams = replaced(ams, "AEP:, 1,2,5,10,25,50,100,200,500,1000",
                   "AEP:, '1/2,'1/5,'1/10,'1/25,'1/50,'1/100,'1/200,'1/500,'1/1000");
    const std::string message = ErrorMessageOf([&] { ImportRainfallFile(ams); });
    EXPECT_NE(message.find("annual maximum series"), std::string::npos) << message;
    EXPECT_NE(message.find("no 1-year column"), std::string::npos);
    EXPECT_NE(message.find("download the partial duration series"), std::string::npos);

    // Each sign alone is enough: the header's fractions, or the series named in the metadata.
    const std::string headerOnly = replaced(ams, "Annual maximum", "Partial duration");
    EXPECT_NE(ErrorMessageOf([&] { ImportRainfallFile(headerOnly); }).find("annual maximum"),
              std::string::npos);
    const std::string fractionsOnly =
        replaced(headerOnly, "by duration for AEP:", "by duration for ARI (years):");
    EXPECT_NE(ErrorMessageOf([&] { ImportRainfallFile(fractionsOnly); }).find("annual maximum"),
              std::string::npos);
    Variant metadataOnly;
    metadataOnly.series = "Annual maximum";
    EXPECT_NE(
        ErrorMessageOf([&] { ImportRainfallFile(fileOf(metadataOnly)); }).find("annual maximum"),
        std::string::npos);
}

TEST(ImportPfds, FilesWithoutUsableValuesAreRefusedWithTheReason) {
    const std::string good = depthFile();
    const struct {
        const char* what;
        std::string text;
        const char* says;
    } cases[] = {
        {"None in a needed cell",
         replaced(good, "60-min:, 1.29,1.54,1.87", "60-min:, 1.29,1.54,None"),
         "no 5-year 60-min value (\"None\")"},
        {"outside the atlas",
         "Point precipitation frequency estimates (inches)\nError: the selected location is not within a project "
         "area of NOAA Atlas 14.\n",
         "not within a project area"},
        {"outside, with a table",
         replaced(good, "Project area: Ohio River Basin",
                  "Project area: not within a project area"),
         "not within a project area"},
        {"no table",
         "Point precipitation frequency estimates (inches)\nNOAA Atlas 14 Volume 2 Version 3\n",
         "holds no table"},
        {"no units",
         replaced(good, "Point precipitation frequency estimates (inches)", "Point estimates"),
         "does not say its units"},
        {"units against data type", replaced(good, "(inches)", "(inches/hour)"), "disagree"},
        {"missing duration", replaced(good, "3-hr:,", "3-hour:,"), "no row \"3-hr\""},
        {"duration twice", replaced(good, "10-min:,", "5-min:,"), "\"5-min\" twice"},
        {"not a number", replaced(good, "0.647", "0.6a7"),
         "10-year 5-min value \"0.6a7\" is not a number"},
        {"short row",
         replaced(good, "24-hr:, 2.77,3.30,4.07,4.73,5.69,6.49,7.35,8.27,9.58,10.7",
                  "24-hr:, 2.77,3.30"),
         "5-year 24-hr value \"\" is not a number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string message = ErrorMessageOf([&] { ImportRainfallFile(c.text); });
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
    }

    // "None" where no stored value comes from (the 1000-year column) does no harm.
    const ImportedTable partial = ImportRainfallFile(replaced(good, "1.06,1.14", "1.06,None"));
    EXPECT_EQ(partial.table.grid, kHandIntensities);
}

TEST(ImportPfds, WithoutALocationNameNoNameIsSuggested) {
    Variant v;
    v.location = "";
    const ImportedTable imported = ImportRainfallFile(fileOf(v));
    EXPECT_EQ(imported.table.name, "");
    EXPECT_EQ(imported.table.provenance.find("Location name"), std::string::npos);

    v.location = "Lake Placid";
    EXPECT_EQ(ImportRainfallFile(fileOf(v)).table.name, "Lake Placid");
}

TEST(ImportValidation, ValuesThatBreakTheCurvesAreWarnedAboutNotRefused) {
    std::string text = depthFile();
    text = replaced(text, "0.575,0.647", "0.575,0.560"); // 5-min: 10-yr 6.72 below 5-yr 6.90
    text = replaced(text, "6.44,7.26", "12.0,7.26");     // 12-hr 100-yr 1.00 above 6-hr 0.933
    text = replaced(text, "6-hr:, 2.06,2.46,3.05", "6-hr:, 2.06,2.46,0");
    const ImportedTable imported = ImportRainfallFile(text);
    EXPECT_EQ(imported.table.grid[0][3], "6.72");
    EXPECT_EQ(imported.table.grid[8][6], "1.00");
    EXPECT_EQ(imported.table.grid[7][2], "0");
    EXPECT_EQ(
        joined(imported.warnings),
        "5 min, 10-year: 6.72 in/hr is less than the 5-year 6.90 in/hr; intensity should rise with the "
        "return period.\n"
        "6 hr, 5-year: the intensity \"0\" is not a positive number.\n"
        "12 hr, 100-year: 1.00 in/hr is more than the 6 hr 0.933 in/hr; intensity should fall as the "
        "duration grows.\n");
}

TEST(ImportValidation, EqualNeighboursAndTheShippedTablesPass) {
    EXPECT_TRUE(CheckIntensityGrid(UniformGrid("5.0")).empty());
    EXPECT_TRUE(CheckIntensityGrid(kHandIntensities).empty());
    IntensityGrid grid = kHandIntensities;
    grid[5][6] = "abc"; // typed in the editor: reads as 0
    const std::vector<std::string> warnings = CheckIntensityGrid(grid);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "2 hr, 100-year: the intensity \"abc\" is not a positive number.");
}

TEST(ImportShipped, TheShippedFormatGoesThroughItsOwnReader) {
    // A comment that mentions precipitation frequency does not make it a NOAA file.
    std::string text = "# location: Test Hollow\r\n"
                       "# source: NOAA Atlas 14, precipitation frequency estimates, 40.4\xB0 N\r\n"
                       "duration_hours,1,2,5,10,25,50,100\r\n";
    for (std::size_t r = 0; r < kHandIntensities.size(); ++r) {
        text += kDurationTexts[r];
        for (const std::string& value : kHandIntensities[r])
            text += "," + value;
        text += "\r\n";
    }
    const ImportedTable imported = ImportRainfallFile(text);
    EXPECT_EQ(imported.table.name, "Test Hollow");
    EXPECT_EQ(imported.table.provenance,
              "source: NOAA Atlas 14, precipitation frequency estimates, 40.4\xC2\xB0 N");
    EXPECT_EQ(imported.table.grid, kHandIntensities);
    EXPECT_TRUE(imported.warnings.empty());

    // Its line errors come through, and its values are checked like any other.
    EXPECT_NE(
        ErrorMessageOf([&] { ImportRainfallFile(replaced(text, "4.91", "-4.91")); }).find("line 4"),
        std::string::npos);
    EXPECT_EQ(
        joined(ImportRainfallFile(replaced(text, "10.6", "9.00")).warnings),
        "5 min, 100-year: 9.00 in/hr is less than the 50-year 9.74 in/hr; intensity should rise with the "
        "return period.\n");
}

TEST(ImportShipped, FilesOfNeitherFormatAreRefused) {
    const struct {
        const char* what;
        std::string bytes;
        const char* says;
    } cases[] = {
        {"another table", "date,rain\n2024-01-01,0.5\n", "neither a NOAA Atlas 14"},
        {"empty", "", "neither"},
        {"binary",
         std::string("\x7f"
                     "ELF\0\0\x01",
                     7),
         "not a text (CSV) file"},
        {"UTF-16", "\xFF\xFEP\0o\0", "UTF-16"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string message = ErrorMessageOf([&] { ImportRainfallFile(c.bytes); });
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
    }
}
