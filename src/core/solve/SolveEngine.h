#pragma once

#include "core/ReturnPeriods.h"
#include "core/store/Database.h"
#include "core/store/IntensityDb.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pluvane {

// How the intensities of a solve were found.
enum class SolveOutcome {
    TableRow,     // Tc below the first duration (5 minutes): that row taken as it stands
    Interpolated, // linear in duration between the two rows around Tc
    BeyondTable,  // Tc at or beyond the longest duration: that last row taken as it stands
};

// Intensities (in/hr) and peak flows (cfs) of the seven return periods, in single precision
// as the engine computes them, and how the intensities were found.
struct SolveResult {
    std::array<float, 7> I{};
    std::array<float, 7> Q{};
    SolveOutcome outcome = SolveOutcome::TableRow;
    double tcHours = 0.0;      // the Tc the table was read at
    float longestDuration = 0; // hours, the last row of the table
};

// A stored duration as the editor labels it ("5 min", "24 hr"); another text in hours.
std::string DurationLabel(const std::string& duration);

// Frequency factor Cf of a return period: 100 -> 1.25, 50 -> 1.2, 25 -> 1.1, others 1.0.
double FrequencyFactor(std::int16_t returnPeriod);

// x when x < y, otherwise y.
double MinOf(double x, double y);

// The engine on rows already read (ascending durations): intensities at Tc (minutes) and
// Q = A * I * min(Cf * C, 1). Never reads past the rows. Throws Error, naming `table`, the
// duration and the return period, for an empty table, an intensity it uses that is missing,
// not a number, not finite in single precision or not positive, a non-finite input, or a
// result that is not finite.
SolveResult SolveFromRows(const std::vector<IntensityRow>& rows, double A, double C, double Tc,
                          std::string_view table = {});

// Writes a result into the single row of TblResults of an open project, in the caller's
// transaction (the table is created when the file lacks it; its first row is overwritten).
// Ival_1 / Qpeak_1 hold "#0.0000" texts, the other twelve the shortest single-precision text.
void StoreResults(Database& project, const SolveResult& result);

// The text a value of return period index k is stored as (see StoreResults): what the report
// prints is read from this text, as it always was from the file.
std::string StoredResultText(std::size_t k, float value);

// A sentence for the report when the outcome needs one (BeyondTable), else "".
std::string SolveNote(const SolveResult& result);

} // namespace pluvane
