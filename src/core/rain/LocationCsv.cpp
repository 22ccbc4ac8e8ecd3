#include "core/rain/LocationCsv.h"

#include "core/Error.h"
#include "core/ReturnPeriods.h"
#include "core/rain/RainMessages.h"
#include "core/text/NumberText.h"
#include "core/text/Text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <sstream>
#include <vector>

namespace pluvane {

namespace {

// The file being read: what it has given so far.
struct CsvRead {
    LocationFile file;
    std::vector<std::string> provenance;
    std::vector<std::size_t> columnOfPeriod; // header position of each return period
    std::array<bool, 10> seen{};
    bool headerSeen = false;
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The line QuoteSourceLine wrote; nullopt when `body` is not such a quoted text (a hand-written
// comment that merely starts and ends with a quote stays as it is).
std::optional<std::string> unquoteSourceLine(std::string_view body) {
    if (body.size() < 2 || body.front() != '"' || body.back() != '"')
        return std::nullopt;
    const std::string_view inner = body.substr(1, body.size() - 2);
    std::string line;
    for (std::size_t i = 0; i < inner.size(); ++i) {
        if (inner[i] == '"')
            return std::nullopt;
        if (inner[i] != '\\') {
            line += inner[i];
            continue;
        }
        if (i + 1 < inner.size() && (inner[i + 1] == '\\' || inner[i + 1] == '"')) {
            line += inner[++i];
            continue;
        }
        if (i + 3 >= inner.size() || inner[i + 1] != 'x')
            return std::nullopt;
        const int high = hexDigit(inner[i + 2]), low = hexDigit(inner[i + 3]);
        if (high < 0 || low < 0)
            return std::nullopt;
        line += static_cast<char>(high * 16 + low);
        i += 3;
    }
    return line;
}

// "# location: NAME" names the location; a quoted comment is a source line as written, never a
// key; any other "#" line is provenance.
void readComment(const std::string& line, CsvRead& read) {
    const std::string body = Trim(std::string_view(line).substr(1));
    if (const std::optional<std::string> quoted = unquoteSourceLine(body))
        read.provenance.push_back(*quoted);
    else if (IsLocationKeyLine(body))
        read.file.name = Trim(body.substr(body.find(':') + 1));
    else
        read.provenance.push_back(body);
}

void readHeader(const std::vector<std::string>& cells, const std::string& where, CsvRead& read) {
    if (LowerAscii(cells.front()) != "duration_hours")
        throw Error(CsvExpectedHeaderMessage(where));
    for (std::int16_t period : ReturnPeriods) {
        const auto it = std::find(cells.begin() + 1, cells.end(), std::to_string(period));
        if (it == cells.end())
            throw Error(CsvNoPeriodColumnMessage(where, period));
        read.columnOfPeriod.push_back(static_cast<std::size_t>(it - cells.begin()));
    }
    read.headerSeen = true;
}

// The stored duration a row's hours name.
std::size_t durationRow(const std::string& cell, const std::string& where, const CsvRead& read) {
    const double hours = ParseLenient(cell);
    std::size_t row = kDurationTexts.size();
    for (std::size_t r = 0; r < kDurationTexts.size(); ++r)
        if (std::abs(hours - ParseLenient(kDurationTexts[r])) < 1e-4)
            row = r;
    if (row == kDurationTexts.size())
        throw Error(CsvUnknownDurationMessage(where, cell));
    if (read.seen[row])
        throw Error(CsvDurationTwiceMessage(where, cell));
    return row;
}

void readValues(const std::vector<std::string>& cells, const std::string& where, CsvRead& read) {
    const std::size_t row = durationRow(cells.front(), where, read);
    read.seen[row] = true;
    for (std::size_t k = 0; k < ReturnPeriods.size(); ++k) {
        const std::size_t column = read.columnOfPeriod[k];
        const std::string cell = column < cells.size() ? cells[column] : "";
        if (ParseLenient(cell) <= 0.0)
            throw Error(CsvNotPositiveMessage(where, ReturnPeriods[k], cell));
        read.file.grid[row][k] = cell;
    }
}

// The whole file read: a header and all ten durations, the provenance joined.
LocationFile finish(CsvRead& read) {
    if (!read.headerSeen)
        throw Error(std::string(kCsvNoHeader));
    for (std::size_t r = 0; r < read.seen.size(); ++r)
        if (!read.seen[r])
            throw Error(CsvNoDurationRowMessage(kDurationTexts[r]));
    for (std::size_t i = 0; i < read.provenance.size(); ++i)
        read.file.provenance += (i ? "\n" : "") + read.provenance[i];
    return std::move(read.file);
}

} // namespace

bool IsLocationKeyLine(std::string_view body) {
    const auto colon = body.find(':');
    return colon != std::string_view::npos && LowerAscii(Trim(body.substr(0, colon))) == "location";
}

std::string QuoteSourceLine(const std::string& line) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string quoted = "\"";
    for (std::size_t i = 0; i < line.size();) {
        const auto c = static_cast<unsigned char>(line[i]);
        const std::size_t length = c < 0x80 ? 1 : Utf8SequenceLength(line, i);
        if (c == '\\' || c == '"') {
            quoted += '\\';
            quoted += line[i++];
        } else if (length == 0 || c < 0x20 || c == 0x7f) {
            quoted += "\\x";
            quoted += kHex[c >> 4];
            quoted += kHex[c & 0xF];
            ++i;
        } else {
            quoted.append(line, i, length);
            i += length;
        }
    }
    return quoted + "\"";
}

LocationFile ParseLocationCsv(const std::string& text) {
    CsvRead read;
    std::istringstream in(text);
    std::string line;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (lineNumber == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (Trim(line).empty())
            continue;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (line.front() == '#')
            readComment(line, read);
        else if (!read.headerSeen)
            readHeader(SplitCsvPlain(line), where, read);
        else
            readValues(SplitCsvPlain(line), where, read);
    }
    return finish(read);
}

} // namespace pluvane
