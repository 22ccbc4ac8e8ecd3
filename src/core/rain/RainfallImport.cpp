#include "core/rain/RainfallImport.h"

#include "core/Error.h"
#include "core/rain/LocationCsv.h"
#include "core/rain/RainMessages.h"
#include "core/rain/RainfallNames.h"
#include "core/text/NumberText.h"
#include "core/text/Text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

namespace pluvane {

namespace {

// A published table is a few kilobytes; anything this large is the wrong file.
constexpr std::size_t kMaxFileBytes = 4 * 1024 * 1024;

constexpr double kMillimetresPerInch = 25.4;

// The reader's blanks within a line are spaces and tabs (lines are already split).
std::string trim(std::string_view text) { return Trim(text, " \t"); }
std::string lower(std::string_view text) { return LowerAscii(text); }
bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return StartsWithIgnoreCase(text, prefix);
}
bool containsNoCase(std::string_view text, std::string_view part) {
    return ContainsIgnoreCase(text, part);
}

// The ten stored durations as the editor labels them, and their length in minutes.
constexpr const std::array<const char*, 10>& kDurationNames = kDurationLabels;
constexpr std::array<int, 10> kDurationMinutes{5, 10, 15, 30, 60, 120, 180, 360, 720, 1440};
// The row labels of a PFDS file for the same ten durations.
constexpr std::array<std::string_view, 10> kPfdsLabels{
    "5-min", "10-min", "15-min", "30-min", "60-min", "2-hr", "3-hr", "6-hr", "12-hr", "24-hr"};

// UTF-8 text with LF line ends. Older downloads and files re-saved on Windows carry
// Windows-1252 bytes (the degree sign of "40.4167°" is the byte B0): each byte that does not
// start a well-formed UTF-8 sequence is read as Windows-1252, so neither kind of file is lost.
std::string decodeLeniently(const std::string& bytes) {
    // Windows-1252 80..9F; the five unassigned bytes keep their Latin-1 code, as browsers do.
    static constexpr std::array<char16_t, 32> kHigh{
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r') { // CR LF and a lone CR both end a line
            out += '\n';
            i += i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 2 : 1;
        } else if (byte < 0x80) {
            out += static_cast<char>(byte);
            ++i;
        } else if (const std::size_t length = Utf8SequenceLength(bytes, i)) {
            out.append(bytes, i, length);
            i += length;
        } else {
            AppendUtf8(out, byte < 0xA0 ? kHigh[byte - 0x80] : char32_t{byte});
            ++i;
        }
    }
    return out;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto end = text.find('\n', start);
        if (end == std::string::npos) {
            if (start < text.size())
                lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The cells of a CSV line, double quotes honoured, blanks kept. Trailing empty cells are
// dropped: a spreadsheet that re-saved the file pads every line to its widest row.
std::vector<std::string> csvCells(const std::string& line) {
    std::vector<std::string> cells = SplitCsvQuoted(line);
    while (!cells.empty() && trim(cells.back()).empty())
        cells.pop_back();
    return cells;
}

// A line as text, without the padding and quotes a spreadsheet adds ("" for a blank line).
std::string lineText(const std::string& line) {
    std::string text;
    const std::vector<std::string> cells = csvCells(line);
    for (std::size_t i = 0; i < cells.size(); ++i)
        text += (i ? "," : "") + cells[i];
    return trim(text);
}

// A cell without blanks and without the apostrophe a spreadsheet uses to mark text.
std::string cellValue(std::string_view cell) {
    std::string text = trim(cell);
    if (!text.empty() && text.front() == '\'')
        text = trim(std::string_view(text).substr(1));
    return text;
}

// A row label compared without its colon, which some re-saved files have lost ("5-min").
std::string rowLabel(std::string_view cell) {
    std::string text = cellValue(cell);
    while (!text.empty() && text.back() == ':')
        text.pop_back();
    return lower(trim(text));
}

// A whole cell as a number; nullopt for anything else ("None", "4.1x", "").
std::optional<double> strictNumber(const std::string& text) {
    const std::string_view digits =
        !text.empty() && text.front() == '+' ? std::string_view(text).substr(1) : text;
    double value = 0.0;
    const char* end = digits.data() + digits.size();
    const auto result = std::from_chars(digits.data(), end, value);
    if (digits.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The number of significant digits of a decimal text ("10.00" has 4, "0.0493" has 3).
std::size_t significantDigits(const std::string& text) {
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9')
            digits += c;
    const auto first = digits.find_first_not_of('0');
    return first == std::string::npos ? 1 : digits.size() - first;
}

// The decimal exponent of the leading digit as 15 significant digits show it.
int decimalExponent(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                      std::fabs(value), std::chars_format::scientific, 14);
    const std::string_view text(buffer.data(),
                                static_cast<std::size_t>(result.ptr - buffer.data()));
    int exponent = 0;
    const auto e = text.find('e');
    const std::string_view digits = text.substr(e + 1);
    std::from_chars(digits.data() + (digits.front() == '+' ? 1 : 0), digits.data() + digits.size(),
                    exponent);
    return exponent;
}

// Converted values are written with 3 significant figures, as the shipped tables and the
// published depths are: more digits would claim a precision the estimates do not have.
std::string threeSignificant(double value) {
    if (value == 0.0 || !std::isfinite(value))
        return PlainNumberText(value);
    const int exponent = decimalExponent(value);
    std::string text = FormatFixed(value, std::max(0, 2 - exponent));
    if (significantDigits(text) > 3 && exponent < 2) // rounding carried: 9.996 -> "10.00"
        text = FormatFixed(value, std::max(0, 1 - exponent));
    return text;
}

// The metadata a PFDS file gives, as "Key: value" lines before and after its table. The key
// is recognised by its start, since the file adds qualifiers ("Location name (ESRI Maps)").
enum class Meta {
    Volume,
    DataType,
    Series,
    ProjectArea,
    Location,
    Station,
    Latitude,
    Longitude,
    Elevation,
    Retrieved
};
constexpr std::size_t kMetaCount = static_cast<std::size_t>(Meta::Retrieved) + 1;
constexpr std::array<std::pair<Meta, std::string_view>, 9> kMetaKeys{{
    {Meta::DataType, "Data type"},
    {Meta::Series, "Time series type"},
    {Meta::ProjectArea, "Project area"},
    {Meta::Location, "Location name"},
    {Meta::Station, "Station Name"},
    {Meta::Latitude, "Latitude"},
    {Meta::Longitude, "Longitude"},
    {Meta::Elevation, "Elevation"},
    {Meta::Retrieved, "Date/time"},
}};

struct MetaLine {
    std::string key;   // as the file spells it
    std::string value; // "" when the file gives none
};

// The key and value of a metadata line. The key is the known name with its bracketed qualifier
// ("Location name (ESRI Maps)"), and the colon after it is the line's first colon: the value
// may hold commas and colons of its own ("Champaign, Illinois, USA", "14:23:29"). A re-saved
// file may have lost that colon; the value then starts after the key.
std::optional<std::pair<Meta, MetaLine>> metadataOf(const std::string& text) {
    if (startsWithNoCase(text, "NOAA Atlas"))
        return std::pair{Meta::Volume, MetaLine{"", text}};
    for (const auto& [meta, key] : kMetaKeys) {
        if (!startsWithNoCase(text, key))
            continue;
        std::size_t end = key.size();
        const auto open = text.find_first_not_of(' ', end);
        if (open != std::string::npos && text[open] == '(' &&
            text.find(')', open) != std::string::npos)
            end = text.find(')', open) + 1;
        std::size_t valueStart = end;
        if (const auto colon = text.find_first_not_of(' ', end);
            colon != std::string::npos && text[colon] == ':')
            valueStart = colon + 1;
        return std::pair{meta, MetaLine{trim(text.substr(0, end)), trim(text.substr(valueStart))}};
    }
    return std::nullopt;
}

bool meaningful(const std::string& value) {
    return !value.empty() && value != "-" && lower(value) != "none";
}

std::string periodName(std::size_t column) {
    return std::to_string(ReturnPeriods[column]) + "-year";
}

enum class Units { Inches, InchesPerHour, Millimetres, MillimetresPerHour };

// The units in brackets on the first line: "(inches)", "(millimeters/hour)", ...
std::optional<Units> unitsOf(const std::string& firstLine) {
    const std::string text = lower(firstLine);
    const auto open = text.rfind('(');
    const auto close = text.find(')', open == std::string::npos ? 0 : open);
    if (open == std::string::npos || close == std::string::npos)
        return std::nullopt;
    std::string units = text.substr(open + 1, close - open - 1);
    units.erase(std::remove(units.begin(), units.end(), ' '), units.end());
    static constexpr std::array<std::pair<std::string_view, Units>, 10> kNames{{
        {"inches", Units::Inches},
        {"inches/hour", Units::InchesPerHour},
        {"inches/hr", Units::InchesPerHour},
        {"in/hr", Units::InchesPerHour},
        {"millimeters", Units::Millimetres},
        {"millimetres", Units::Millimetres},
        {"mm", Units::Millimetres},
        {"millimeters/hour", Units::MillimetresPerHour},
        {"millimetres/hour", Units::MillimetresPerHour},
        {"mm/hr", Units::MillimetresPerHour},
    }};
    // "(in inches)" reads as "(inches)".
    const std::string_view withoutIn =
        std::string_view(units).substr(units.rfind("in", 0) == 0 ? 2 : 0);
    for (const std::string_view name : {std::string_view(units), withoutIn})
        for (const auto& [known, value] : kNames)
            if (name == known)
                return value;
    return std::nullopt;
}

bool isPfdsHeader(const std::string& line) {
    const std::vector<std::string> cells = csvCells(line);
    return !cells.empty() && startsWithNoCase(cellValue(cells.front()), "by duration for");
}

bool isShippedHeader(const std::string& line) {
    const std::vector<std::string> cells = csvCells(line);
    return !cells.empty() && lower(trim(cells.front())) == "duration_hours";
}

// The line of the table header ("... by duration for ARI (years):").
std::size_t findPfdsHeader(const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (isPfdsHeader(lines[i]))
            return i;
    throw Error(std::string(kPfdsNoTable));
}

// The table block runs from the header to a blank line or the next block's title; later
// blocks of an "all statistics" download are the 90% confidence bounds, not estimates.
std::size_t pfdsBlockEnd(const std::vector<std::string>& lines, std::size_t header) {
    std::size_t blockEnd = header + 1;
    while (blockEnd < lines.size()) {
        const std::string t = lineText(lines[blockEnd]);
        if (t.empty() || startsWithNoCase(t, "PRECIPITATION FREQUENCY ESTIMATES AT") ||
            isPfdsHeader(lines[blockEnd]))
            break;
        ++blockEnd;
    }
    return blockEnd;
}

// The lines around the table: the first line (title and units) and the first of each kind of
// "key: value" line.
struct PfdsMeta {
    std::array<std::optional<MetaLine>, kMetaCount> lines;
    std::string firstLine;

    const std::optional<MetaLine>& line(Meta m) const { return lines[static_cast<std::size_t>(m)]; }
    std::string value(Meta m) const { return line(m) ? line(m)->value : std::string(); }
};

PfdsMeta readPfdsMeta(const std::vector<std::string>& lines, std::size_t header,
                      std::size_t blockEnd) {
    PfdsMeta meta;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i >= header && i < blockEnd)
            continue;
        const std::string t = lineText(lines[i]);
        if (t.empty())
            continue;
        if (meta.firstLine.empty())
            meta.firstLine = t;
        if (const auto found = metadataOf(t);
            found && !meta.lines[static_cast<std::size_t>(found->first)])
            meta.lines[static_cast<std::size_t>(found->first)] = found->second;
    }
    return meta;
}

void refuseAnnualMaximum(const std::vector<std::string>& headerCells, const PfdsMeta& meta) {
    const std::string headerLabel = lower(cellValue(headerCells.front()));
    const bool fractionColumns =
        std::any_of(headerCells.begin() + 1, headerCells.end(),
                    [](const std::string& c) { return c.find('/') != std::string::npos; });
    if (headerLabel.find("aep") != std::string::npos || fractionColumns ||
        containsNoCase(meta.value(Meta::Series), "annual"))
        throw Error(std::string(kPfdsAnnualMaximum));
}

// What the values are: depths or intensities, inches or millimetres.
struct PfdsUnits {
    bool depth = false;
    bool metric = false;
};

PfdsUnits pfdsUnits(const PfdsMeta& meta) {
    const std::optional<Units> units = unitsOf(meta.firstLine);
    if (!units)
        throw Error(std::string(kPfdsNoUnits));
    PfdsUnits found;
    found.depth = *units == Units::Inches || *units == Units::Millimetres;
    found.metric = *units == Units::Millimetres || *units == Units::MillimetresPerHour;
    const std::string dataType = lower(meta.value(Meta::DataType));
    if ((found.depth && dataType.find("intensity") != std::string::npos) ||
        (!found.depth && dataType.find("depth") != std::string::npos))
        throw Error(PfdsUnitsDisagreeMessage(meta.firstLine.substr(meta.firstLine.rfind('(')),
                                             meta.value(Meta::DataType)));
    return found;
}

// Columns by their header value: the server's order is not to be relied on, and a column
// that is missing must not silently shift the others.
std::array<std::size_t, 7> pfdsColumns(const std::vector<std::string>& headerCells,
                                       const std::string& headerLine) {
    std::array<std::size_t, 7> columnOf{};
    for (std::size_t k = 0; k < ReturnPeriods.size(); ++k) {
        const auto found =
            std::find_if(headerCells.begin() + 1, headerCells.end(), [&](const std::string& cell) {
                const std::optional<double> years = strictNumber(cellValue(cell));
                return years && *years == ReturnPeriods[k];
            });
        if (found == headerCells.end())
            throw Error(PfdsNoColumnMessage(periodName(k), lineText(headerLine)));
        columnOf[k] = static_cast<std::size_t>(found - headerCells.begin());
    }
    return columnOf;
}

// The cells of the ten stored durations' rows, each found once at most.
using PfdsRows = std::array<std::optional<std::vector<std::string>>, 10>;

PfdsRows pfdsRows(const std::vector<std::string>& lines, std::size_t header, std::size_t blockEnd) {
    PfdsRows rows;
    for (std::size_t i = header + 1; i < blockEnd; ++i) {
        std::vector<std::string> cells = csvCells(lines[i]);
        const auto label =
            std::find(kPfdsLabels.begin(), kPfdsLabels.end(), rowLabel(cells.front()));
        if (label == kPfdsLabels.end())
            continue; // 2-day ... 60-day: longer than any stored duration
        auto& row = rows[static_cast<std::size_t>(label - kPfdsLabels.begin())];
        if (row)
            throw Error(PfdsRowTwiceMessage(*label));
        row = std::move(cells);
    }
    return rows;
}

// The grid in in/hr: depths divided by the duration, millimetres made inches.
void fillPfdsGrid(const PfdsRows& rows, const std::array<std::size_t, 7>& columnOf, PfdsUnits units,
                  IntensityGrid& grid) {
    const double toInches = units.metric ? 1.0 / kMillimetresPerInch : 1.0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::string where(kPfdsLabels[r]);
        if (!rows[r])
            throw Error(PfdsNoRowMessage(where));
        for (std::size_t k = 0; k < ReturnPeriods.size(); ++k) {
            const std::vector<std::string>& cells = *rows[r];
            const std::string cell =
                columnOf[k] < cells.size() ? cellValue(cells[columnOf[k]]) : "";
            if (lower(cell) == "none")
                throw Error(PfdsNoEstimateMessage(periodName(k), where));
            const std::optional<double> value = strictNumber(cell);
            if (!value)
                throw Error(PfdsNotANumberMessage(periodName(k), where, cell));
            std::string& out = grid[r][k];
            if (units.depth)
                out = threeSignificant(*value * toInches * 60.0 / kDurationMinutes[r]);
            else if (units.metric)
                out = threeSignificant(*value * toInches);
            else
                out = cell; // published intensities are kept as printed
        }
    }
}

// Where the values come from, one line each, and how they were converted.
std::string pfdsProvenance(const PfdsMeta& meta, PfdsUnits units) {
    std::vector<std::string> provenance{meta.firstLine};
    if (const std::string volume = meta.value(Meta::Volume); !volume.empty())
        provenance.push_back(volume);
    for (Meta m : {Meta::DataType, Meta::Series, Meta::ProjectArea, Meta::Location, Meta::Station,
                   Meta::Latitude, Meta::Longitude, Meta::Elevation, Meta::Retrieved}) {
        const auto& line = meta.line(m);
        if (line && meaningful(line->value))
            provenance.push_back(line->key + ": " + line->value);
    }
    if (units.depth)
        provenance.push_back(std::string("converted from depth as depth / duration") +
                             (units.metric ? ", millimeters to inches (/ 25.4)" : "") +
                             ", in/hr to 3 significant figures");
    else if (units.metric)
        provenance.push_back(
            "converted from millimeters/hour to in/hr (/ 25.4), 3 significant figures");
    std::string joined;
    for (std::size_t i = 0; i < provenance.size(); ++i)
        joined += (i ? "\n" : "") + provenance[i];
    return joined;
}

ImportedTable readPfds(const std::vector<std::string>& lines, const std::string& text) {
    if (containsNoCase(text, "not within a project area"))
        throw Error(std::string(kOutsideCoverage));
    const std::size_t header = findPfdsHeader(lines);
    const std::size_t blockEnd = pfdsBlockEnd(lines, header);
    const PfdsMeta meta = readPfdsMeta(lines, header, blockEnd);
    const std::vector<std::string> headerCells = csvCells(lines[header]);
    refuseAnnualMaximum(headerCells, meta);
    const PfdsUnits units = pfdsUnits(meta);
    const std::array<std::size_t, 7> columnOf = pfdsColumns(headerCells, lines[header]);

    ImportedTable imported;
    fillPfdsGrid(pfdsRows(lines, header, blockEnd), columnOf, units, imported.table.grid);
    const std::string location = meta.value(Meta::Location);
    imported.table.name = trim(location.substr(0, location.find(',')));
    imported.table.provenance = pfdsProvenance(meta, units);
    if (units.metric)
        imported.warnings.emplace_back(kPfdsMillimetresWarning);
    return imported;
}

} // namespace

std::vector<std::string> CheckIntensityGrid(const IntensityGrid& grid) {
    std::vector<std::string> warnings;
    const auto value = [&](std::size_t r, std::size_t k) { return ParseLenient(grid[r][k]); };
    for (std::size_t r = 0; r < grid.size(); ++r) {
        for (std::size_t k = 0; k < ReturnPeriods.size(); ++k) {
            const std::string cell = std::string(kDurationNames[r]) + ", " + periodName(k) + ": ";
            if (value(r, k) <= 0.0) {
                warnings.push_back(GridNotPositiveWarning(cell, grid[r][k]));
                continue;
            }
            if (k > 0 && value(r, k - 1) > 0.0 && value(r, k) < value(r, k - 1))
                warnings.push_back(GridFallsWithPeriodWarning(cell, grid[r][k], periodName(k - 1),
                                                              grid[r][k - 1]));
            if (r > 0 && value(r - 1, k) > 0.0 && value(r, k) > value(r - 1, k))
                warnings.push_back(GridRisesWithDurationWarning(
                    cell, grid[r][k], kDurationNames[r - 1], grid[r - 1][k]));
        }
    }
    return warnings;
}

ImportedTable ImportRainfallFile(const std::string& bytes) {
    if (bytes.size() > kMaxFileBytes)
        throw Error(std::string(kFileTooLarge));
    if (bytes.rfind("\xFF\xFE", 0) == 0 || bytes.rfind("\xFE\xFF", 0) == 0)
        throw Error(std::string(kFileIsUtf16));
    if (bytes.find('\0') != std::string::npos)
        throw Error(std::string(kFileNotText));

    const std::string text = decodeLeniently(bytes);
    const std::vector<std::string> lines = splitLines(text);
    ImportedTable imported;
    if (std::any_of(lines.begin(), lines.end(), isPfdsHeader)) {
        imported = readPfds(lines, text);
    } else if (std::any_of(lines.begin(), lines.end(), isShippedHeader)) {
        imported.table = ParseLocationCsv(text);
    } else if (containsNoCase(text, "not within a project area")) {
        throw Error(std::string(kOutsideCoverage));
    } else if (containsNoCase(text, "precipitation frequency")) {
        imported = readPfds(lines, text); // refused with what is missing
    } else {
        throw Error(std::string(kFileNotRainfall));
    }
    for (std::string& warning : CheckIntensityGrid(imported.table.grid))
        imported.warnings.push_back(std::move(warning));
    return imported;
}

} // namespace pluvane
