#include "core/rain/LocationCsvWriter.h"

#include "core/Error.h"
#include "core/rain/RainMessages.h"
#include "core/text/NumberText.h"

#include <cmath>
#include <sstream>

namespace pluvane {

namespace {

void requirePlainCell(const std::string& text, std::string_view cell) {
    if (text.find_first_of(",\r\n") != std::string::npos)
        throw Error(CsvCellNotPlainMessage(cell, text));
}

} // namespace

std::string WriteLocationCsv(const std::string& name, const std::vector<IntensityRow>& rows,
                             const std::string& provenance) {
    if (rows.size() != kDurationTexts.size())
        throw Error(CsvRowCountMessage(name, rows.size()));
    std::string csv = "# location: " + name + "\n";
    std::istringstream lines(provenance);
    for (std::string line; std::getline(lines, line);)
        csv += "# " + line + "\n";
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
