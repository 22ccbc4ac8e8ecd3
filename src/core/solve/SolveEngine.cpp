#include "core/solve/SolveEngine.h"
#include "core/text/Text.h"

#include "core/rain/RainfallNames.h"

#include "core/Error.h"
#include "core/solve/SolveMessages.h"
#include "core/store/ProjectDb.h"
#include "core/text/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

namespace pluvane {

namespace {

// The intensities of one row, each a whole finite positive number in single precision: a
// solve that took a blank or a typo as 0 would report a flow of 0 as if it were computed.
std::array<float, 7> rowIntensities(const IntensityRow& row, std::string_view table) {
    std::array<float, 7> values{};
    for (std::size_t k = 0; k < values.size(); ++k) {
        const std::string text = Trim(row.values[k]);
        const auto refuse = [&](std::string_view why) {
            throw Error(
                IntensityRefusedMessage(table, DurationLabel(row.duration), ReturnPeriods[k], why));
        };
        if (text.empty())
            refuse(kIntensityMissing);
        double value = 0.0;
        const char* begin = text.data() + (text.front() == '+' ? 1 : 0);
        const char* end = text.data() + text.size();
        const auto parsed = std::from_chars(begin, end, value);
        if (parsed.ec == std::errc::result_out_of_range ||
            (parsed.ec == std::errc() && parsed.ptr == end &&
             std::abs(value) > static_cast<double>(std::numeric_limits<float>::max())))
            refuse(IntensityValueReason(text, kIntensityTooLarge));
        if (parsed.ec != std::errc() || parsed.ptr != end || !std::isfinite(value))
            refuse(IntensityValueReason(text, kIntensityNotANumber));
        if (!(value > 0.0))
            refuse(IntensityValueReason(text, kIntensityNotPositive));
        values[k] = static_cast<float>(value);
        // A positive text below single precision's smallest value ("1e-46") becomes 0.
        if (!(values[k] > 0.0f))
            refuse(IntensityValueReason(text, kIntensityTooSmall));
    }
    return values;
}

// The 1-year pair keeps four decimals; the others full single precision.
std::string resultText(std::size_t k, float value) {
    return k == 0 ? FormatFixed(value, 4) : ShortestText(value);
}

// "Ival_1<suffix>, ..., Ival_100<suffix>, Qpeak_1<suffix>, ..., Qpeak_100<suffix>".
std::string resultColumns(const std::string& suffix) {
    std::string columns;
    for (const char* prefix : {"Ival_", "Qpeak_"})
        for (std::int16_t period : ReturnPeriods)
            columns += (columns.empty() ? "" : ", ") + std::string(prefix) +
                       std::to_string(period) + suffix;
    return columns;
}

} // namespace

std::string DurationLabel(const std::string& duration) {
    for (std::size_t r = 0; r < kDurationTexts.size(); ++r)
        if (duration == kDurationTexts[r])
            return kDurationLabels[r];
    return duration.empty() ? std::string("an unnamed duration") : duration + " hr";
}

double FrequencyFactor(std::int16_t returnPeriod) {
    switch (returnPeriod) {
    case 100:
        return 1.25;
    case 50:
        return 1.2;
    case 25:
        return 1.1;
    default:
        return 1.0;
    }
}

double MinOf(double x, double y) { return x < y ? x : y; }

SolveResult SolveFromRows(const std::vector<IntensityRow>& rows, double A, double C, double Tc,
                          std::string_view table) {
    const std::pair<const char*, double> inputs[] = {
        {"total area", A}, {"run-off coefficient", C}, {"time of concentration", Tc}};
    for (const auto& [name, value] : inputs) {
        if (std::isnan(value))
            throw Error(InputNotANumberMessage(name));
        if (!std::isfinite(value))
            throw Error(InputTooLargeMessage(name));
    }
    if (rows.empty())
        throw Error(std::string(kRowsMissing));
    SolveResult result;
    const double TcHr = Tc / 60.0;
    result.tcHours = TcHr;

    // Scan for the first row whose duration exceeds Tc; the comparison widens the stored
    // single-precision duration, so 10 minutes (0.1666667 h) falls below "0.166667".
    std::vector<float> durations(rows.size());
    std::size_t b = rows.size();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        durations[i] = static_cast<float>(ParseLenient(rows[i].duration));
        if (TcHr < static_cast<double>(durations[i])) {
            b = i;
            break;
        }
    }
    result.longestDuration = static_cast<float>(ParseLenient(rows.back().duration));

    if (b == rows.size()) {
        // Past the table there is nothing to interpolate towards; the last row overstates the
        // intensity for a longer storm, which errs on the safe side, and the report says so.
        result.outcome = SolveOutcome::BeyondTable;
        result.I = rowIntensities(rows.back(), table);
    } else if (b == 0) {
        // Below the shortest duration there is no row to interpolate from: its intensities, the
        // highest of the table, are taken as they stand.
        result.outcome = SolveOutcome::TableRow;
        result.I = rowIntensities(rows[b], table);
    } else {
        // From the first duration on, linear between the two rows that bracket Tc: a Tc of 5 to
        // 10 minutes is interpolated too, so the intensity falls smoothly instead of jumping
        // down to the 10-minute row at 5 minutes.
        result.outcome = SolveOutcome::Interpolated;
        const std::array<float, 7> L = rowIntensities(rows[b - 1], table);
        const std::array<float, 7> U = rowIntensities(rows[b], table);
        const float D0 = durations[b - 1];
        const float D1 = durations[b];
        for (std::size_t k = 0; k < result.I.size(); ++k) {
            const float dI = U[k] - L[k];
            const float dD = D1 - D0;
            const double product = static_cast<double>(dI) * (TcHr - static_cast<double>(D0));
            const double quotient = product / static_cast<double>(dD);
            const double interpolated = static_cast<double>(L[k]) + quotient;
            // Two huge neighbours overflow single precision, and durations out of order
            // extrapolate below zero: neither is an intensity.
            if (!std::isfinite(interpolated) ||
                std::abs(interpolated) > static_cast<double>(std::numeric_limits<float>::max()) ||
                !std::isfinite(dI) || !(static_cast<float>(interpolated) > 0.0f))
                throw Error(InterpolationRefusedMessage(table, ReturnPeriods[k],
                                                        DurationLabel(rows[b - 1].duration),
                                                        DurationLabel(rows[b].duration)));
            result.I[k] = static_cast<float>(interpolated);
        }
    }

    for (std::size_t k = 0; k < ReturnPeriods.size(); ++k) {
        const double Cf = FrequencyFactor(ReturnPeriods[k]);
        const double Ce = MinOf(Cf * C, 1.0);
        const double q = A * (static_cast<double>(result.I[k]) * Ce);
        if (!std::isfinite(q) ||
            std::abs(q) > static_cast<double>(std::numeric_limits<float>::max()))
            throw Error(PeakTooLargeMessage(ReturnPeriods[k], PlainNumberText(Tc), table));
        result.Q[k] = static_cast<float>(q);
    }
    return result;
}

std::string StoredResultText(std::size_t k, float value) { return resultText(k, value); }

void StoreResults(Database& db, const SolveResult& result) {
    if (!db.hasTable("TblResults")) {
        // A project file that lost its results table gets it back instead of failing the solve.
        db.exec("CREATE TABLE TblResults (" + resultColumns(" TEXT") + ")");
    }
    std::optional<std::int64_t> rowid;
    {
        Statement first = db.prepare("SELECT rowid FROM TblResults ORDER BY rowid LIMIT 1");
        if (first.step())
            rowid = first.integer(0);
    }
    Statement write =
        rowid ? db.prepare("UPDATE TblResults SET " + resultColumns(" = ?") + " WHERE rowid = ?")
              : db.prepare("INSERT INTO TblResults (" + resultColumns("") +
                           ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (std::size_t k = 0; k < ReturnPeriods.size(); ++k) {
        write.bind(static_cast<int>(k + 1), resultText(k, result.I[k]));
        write.bind(static_cast<int>(k + 8), resultText(k, result.Q[k]));
    }
    if (rowid)
        write.bind(15, *rowid);
    write.run();
}

std::string SolveNote(const SolveResult& result) {
    if (result.outcome != SolveOutcome::BeyondTable)
        return "";
    return "Note: the total Tc of " + PlainNumberText(result.tcHours * 60.0) +
           " min is at or beyond the longest duration of the rainfall table (" +
           PlainNumberText(result.longestDuration) +
           " hr); the intensities of that last row were used, which overstates them for this Tc.";
}

} // namespace pluvane
