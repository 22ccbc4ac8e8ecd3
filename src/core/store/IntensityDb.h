#pragma once

#include "core/ReturnPeriods.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace pluvane {

struct Workspace;

// A 10 x 7 grid of intensity texts (in/hr): row r is the duration of ID r + 1, column c the
// return period ReturnPeriods[c]. Texts are kept exactly as typed.
using IntensityGrid = std::array<std::array<std::string, 7>, 10>;

// One stored row of a location table: its duration text and seven intensity texts.
struct IntensityRow {
    std::string duration;
    std::array<std::string, 7> values;
};

// The location names, in the order the list table returns them.
std::vector<std::string> ListLocations(const Workspace& ws);

// True when `name` is in the location list (matched without regard to case).
bool LocationExists(const Workspace& ws, const std::string& name);

// Every row of a location table in ascending ID order (normally ten). Throws when the
// location's table does not exist. Missing cells read as "".
std::vector<IntensityRow> ReadLocationRows(const Workspace& ws, const std::string& name);

// The 2-year intensity of the 24-hour row ("24.0") of the location `name`, in/hr. Throws when
// `name` is empty (no table chosen), the table is missing, or it has no 24-hour row.
double ReadTwoYearDailyIntensity(const Workspace& ws, const std::string& name);

// Where a location's values come from; empty when none was recorded.
std::string ReadProvenance(const Workspace& ws, const std::string& name);

// A location as a solve uses it, read in one transaction so that its rows and its source
// belong together.
struct Rainfall {
    std::string name;       // as the list spells it; as asked when it is not listed
    std::string provenance; // "" when none was recorded
    std::vector<IntensityRow> rows;
};

// The rows (as ReadLocationRows), the listed name and the provenance of a location. Throws
// as ReadLocationRows does.
Rainfall ReadRainfall(const Workspace& ws, const std::string& name);

// The 2-year 24-hour rainfall P2 (in) of rows read already: 24 times the 2-year intensity of
// the row whose duration text is "24.0". Nullopt without such a row.
std::optional<double> TwoYearDailyRainfall(const std::vector<IntensityRow>& rows);

// Throws Error when `name` cannot be a location: empty or blank, too long, a control
// character, or a name the database keeps for itself (in any case and spacing). A new location
// is also refused when its name begins or ends with a blank: the shipped CSV format and the
// editor's field would not give it back so.
void CheckLocationName(const std::string& name);
void CheckNewLocationName(const std::string& name);

// What SaveLocation did.
enum class LocationSaved {
    Created, // a new location
    Updated, // the values of a listed one replaced
    Exists,  // listed already and `replace` was false: nothing written
};

// Creates the location (one list row and one table of ten rows, in one transaction) or, when
// the name is in the list already (any case), overwrites the seven values of rows 1..10 of its
// table and leaves the list row and the duration texts as they were; with `replace` false a
// listed name is left alone. Whether the name is listed is decided inside the same write
// transaction, so of two processes saving one new name at once exactly one creates it. A
// given provenance is stored too; nullopt leaves the stored one. Whether the project takes the
// location is its caller's choice.
LocationSaved SaveLocation(const Workspace& ws, const std::string& name, const IntensityGrid& grid,
                           const std::optional<std::string>& provenance = std::nullopt,
                           bool replace = true);

// A location as a rainfall file gives it (rain/LocationCsv.h, rain/RainfallImport.h).
struct LocationFile {
    std::string name;
    std::string provenance; // the other "#" lines, "key: value" each, joined by line feeds
    IntensityGrid grid;
};

} // namespace pluvane
