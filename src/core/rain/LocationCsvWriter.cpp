#include "core/rain/LocationCsvWriter.h"

#include "core/Error.h"
#include "core/rain/LocationCsv.h"
#include "core/rain/RainMessages.h"
#include "core/text/NumberText.h"
#include "core/text/Text.h"

#include <algorithm>
#include <cmath>

namespace pluvane {

namespace {

// A cell goes out as it is: the reader cuts at commas and line ends and trims blanks.
void requirePlainCell(const std::string& text, std::string_view cell) {
    bool plain = Trim(text) == text;
    for (unsigned char c : text)
        plain = plain && c != ',' && c >= 0x20 && c != 0x7f;
    if (!plain)
        throw Error(CsvCellNotPlainMessage(cell, text));
}

// A source line the reader gives back as it is when written plainly: no blank at either end
// (the reader trims), no control byte, well-formed UTF-8, not quoted and not the location key.
bool plainSourceLine(const std::string& line) {
    if (Trim(line) != line || (!line.empty() && line.front() == '"') || IsLocationKeyLine(line))
        return false;
    for (std::size_t i = 0; i < line.size();) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7f)
                return false;
            ++i;
        } else if (const std::size_t length = Utf8SequenceLength(line, i)) {
            i += length;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

std::string WriteLocationCsv(const std::string& name, const std::vector<IntensityRow>& rows,
                             const std::string& provenance) {
    if (rows.size() != kDurationTexts.size())
        throw Error(CsvRowCountMessage(name, rows.size()));
    if (Trim(name) != name)
        throw Error(CsvNameEdgeBlankMessage(name));
    std::string csv = "# location: " + name + "\n";
    // Every line of the source, the last one too when it is empty ("a\n" is two lines).
    for (std::size_t start = 0; !provenance.empty() && start <= provenance.size();) {
        const std::size_t end = std::min(provenance.find('\n', start), provenance.size());
        const std::string line = provenance.substr(start, end - start);
        csv += plainSourceLine(line) ? "# " + line + "\n" : "# " + QuoteSourceLine(line) + "\n";
        start = end + 1;
    }
    csv += "duration_hours";
    for (std::int16_t period : ReturnPeriods)
        csv += "," + std::to_string(period);
    csv += "\n";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        // The reader places a row by its duration, so each must be the stored one of its place.
        if (std::abs(ParseLenient(rows[r].duration) - ParseLenient(kDurationTexts[r])) >= 1e-4)
            throw Error(CsvRowDurationMessage(r + 1, name, rows[r].duration, kDurationTexts[r]));
        requirePlainCell(rows[r].duration, kCsvDurationCell);
        csv += rows[r].duration;
        for (std::size_t k = 0; k < ReturnPeriods.size(); ++k) {
            requirePlainCell(rows[r].values[k], CsvIntensityCell(ReturnPeriods[k]));
            csv += "," + rows[r].values[k];
        }
        csv += "\n";
    }
    return csv;
}

} // namespace pluvane
