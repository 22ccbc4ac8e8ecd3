#include "rain/LocationCsvWriter.h"

#include "Error.h"
#include "text/NumberText.h"

#include <cmath>
#include <sstream>

namespace pluvane {

namespace {

void requirePlainCell(const std::string& text, const std::string& where) {
    if (text.find_first_of(",\r\n") != std::string::npos)
        throw Error(where + " \"" + text +
                    "\" holds a comma or a line end, which the CSV format cannot carry.");
}

} // namespace

std::string WriteLocationCsv(const std::string& name, const std::vector<IntensityRow>& rows,
                             const std::string& provenance) {
    if (rows.size() != kDurationTexts.size())
        throw Error("The rainfall table \"" + name + "\" has " + std::to_string(rows.size()) +
                    " rows instead of ten; save it in the rainfall table editor first.");
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
            throw Error("Row " + std::to_string(r + 1) + " of the rainfall table \"" + name +
                        "\" has the duration \"" + rows[r].duration + "\" instead of " +
                        kDurationTexts[r] + " hours.");
        requirePlainCell(rows[r].duration, "The duration");
        csv += rows[r].duration;
        for (std::size_t k = 0; k < ReturnPeriods.size(); ++k) {
            requirePlainCell(rows[r].values[k],
                             "The " + std::to_string(ReturnPeriods[k]) + "-year intensity");
            csv += "," + rows[r].values[k];
        }
        csv += "\n";
    }
    return csv;
}

} // namespace pluvane
