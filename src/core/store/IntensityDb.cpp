#include "core/store/IntensityDb.h"

#include "core/Error.h"
#include "core/Workspace.h"
#include "core/store/ProjectDb.h"
#include "core/store/StoreMessages.h"
#include "core/text/NumberText.h"
#include "core/text/Text.h"

#include <algorithm>
#include <cmath>

namespace pluvane {

namespace {

constexpr std::size_t kMaxLocationNameBytes = 255;

std::string periodColumn(std::size_t k) {
    return QuoteIdentifier(std::to_string(ReturnPeriods[k]));
}

void requireLocationTable(Database& db, const std::string& name) {
    const std::string folded = LowerAscii(name);
    if (folded == "basinname" || folded.rfind("sqlite_", 0) == 0)
        throw Error(ReservedLocationMessage(name));
    if (!db.hasTable(name))
        throw Error(NoSuchLocationTableMessage(name));
}

std::string createTableSql(const std::string& name) {
    std::string sql =
        "CREATE TABLE " + QuoteIdentifier(name) + " (ID INTEGER PRIMARY KEY, Duration TEXT NULL";
    for (std::size_t k = 0; k < ReturnPeriods.size(); ++k)
        sql += ", " + periodColumn(k) + " TEXT NULL";
    return sql + ")";
}

// Every row of a location's table, on an open connection.
std::vector<IntensityRow> readRows(Database& db, const std::string& name) {
    requireLocationTable(db, name);
    {
        Statement columns = db.prepare("SELECT * FROM " + QuoteIdentifier(name) + " LIMIT 0");
        for (const char* column : {"ID", "Duration"})
            if (columns.columnIndex(column) < 0)
                throw Error(LocationColumnMissingMessage(name, column));
    }
    Statement q = db.prepare("SELECT * FROM " + QuoteIdentifier(name) + " ORDER BY ID");
    std::vector<IntensityRow> rows;
    for (const Record& record : readAll(q)) {
        IntensityRow row;
        row.duration = record.text("Duration");
        for (std::size_t k = 0; k < ReturnPeriods.size(); ++k)
            row.values[k] = record.text(std::to_string(ReturnPeriods[k]));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace

std::vector<std::string> ListLocations(const Workspace& ws) {
    Database db = OpenIntensityDb(ws);
    Statement q = db.prepare("SELECT BasinName FROM BasinName");
    std::vector<std::string> names;
    while (q.step())
        names.push_back(q.text(0).value_or(""));
    return names;
}

bool LocationExists(const Workspace& ws, const std::string& name) {
    Database db = OpenIntensityDb(ws);
    Statement q = db.prepare("SELECT 1 FROM BasinName WHERE BasinName = ? COLLATE NOCASE");
    q.bind(1, name);
    return q.step();
}

std::vector<IntensityRow> ReadLocationRows(const Workspace& ws, const std::string& name) {
    Database db = OpenIntensityDb(ws);
    std::vector<IntensityRow> rows = readRows(db, name);
    CloseDb(db);
    return rows;
}

double ReadTwoYearDailyIntensity(const Workspace& ws, const std::string& name) {
    if (name.empty())
        throw Error(std::string(kNoTableForTc));
    Database db = OpenIntensityDb(ws);
    requireLocationTable(db, name);
    Statement q =
        db.prepare("SELECT \"2\" FROM " + QuoteIdentifier(name) + " WHERE Duration = '24.0'");
    if (!q.step())
        throw Error(NoDailyRowMessage(name));
    return ParseLenient(q.text(0).value_or(""));
}

std::string ReadProvenance(const Workspace& ws, const std::string& name) {
    Database db = OpenIntensityDb(ws);
    Statement q = db.prepare("SELECT Provenance FROM BasinName WHERE BasinName = ? COLLATE NOCASE");
    q.bind(1, name);
    return q.step() ? q.text(0).value_or("") : "";
}

Rainfall ReadRainfall(const Workspace& ws, const std::string& name) {
    Database db = OpenIntensityDbForReading(ws);
    Rainfall rainfall;
    rainfall.name = name;
    {
        Statement q = db.prepare(
            "SELECT BasinName, Provenance FROM BasinName WHERE BasinName = ? COLLATE NOCASE");
        q.bind(1, name);
        if (q.step()) {
            rainfall.name = q.text(0).value_or(name);
            rainfall.provenance = q.text(1).value_or("");
        }
    }
    rainfall.rows = readRows(db, name);
    CloseDb(db);
    return rainfall;
}

std::optional<double> TwoYearDailyRainfall(const std::vector<IntensityRow>& rows) {
    for (const IntensityRow& row : rows)
        if (row.duration == "24.0")
            return ParseLenient(row.values[1]) * 24.0;
    return std::nullopt;
}

void CheckLocationName(const std::string& name) {
    if (Trim(name).empty())
        throw Error(std::string(kLocationNameEmpty));
    if (name.size() > kMaxLocationNameBytes)
        throw Error(std::string(kLocationNameTooLong));
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7f)
            throw Error(std::string(kLocationNameControl));
    // The list table and SQLite's own, however they are spelled: "Basin Name " is one of them
    // to a reader of the list.
    std::string folded;
    for (char c : LowerAscii(name))
        if (c != ' ')
            folded += c;
    if (folded == "basinname" || folded.rfind("sqlite_", 0) == 0)
        throw Error(ReservedLocationNameMessage(name));
}

void CheckNewLocationName(const std::string& name) {
    CheckLocationName(name);
    if (Trim(name) != name)
        throw Error(LocationNameEdgeBlankMessage(name));
}

namespace {

// Lists the location (or updates its source) in BasinName. True when its table must be made
// afresh: a new location, or a listed one whose table has gone missing.
bool listLocation(Database& db, const std::string& name,
                  const std::optional<std::string>& provenance, bool listed) {
    const bool tableExists = db.hasTable(name);
    if (!listed) {
        Statement insert =
            db.prepare("INSERT INTO BasinName (BasinName, Provenance) VALUES (?, ?)");
        insert.bind(1, name);
        if (provenance)
            insert.bind(2, *provenance);
        else
            insert.bindNull(2);
        insert.run();
    } else if (provenance) {
        Statement update =
            db.prepare("UPDATE BasinName SET Provenance = ? WHERE BasinName = ? COLLATE NOCASE");
        update.bindAll(*provenance, name).run();
    }
    const bool create = !listed || !tableExists;
    if (create && tableExists) // an unlisted table of that name: start it afresh
        db.exec("DROP TABLE " + QuoteIdentifier(name));
    return create;
}

// Writes the ten rows into the location's table: inserted into a fresh table, updated in place
// otherwise.
void writeLocationRows(Database& db, const std::string& name, const IntensityGrid& grid,
                       bool fresh) {
    const std::string table = QuoteIdentifier(name);
    std::string insertSql = "INSERT INTO " + table + " (ID, Duration";
    for (std::size_t k = 0; k < ReturnPeriods.size(); ++k)
        insertSql += ", " + periodColumn(k);
    insertSql += ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)";
    Statement insert = db.prepare(insertSql);
    const auto insertRow = [&](std::size_t r) {
        insert.bind(1, static_cast<std::int64_t>(r + 1)).bind(2, kDurationTexts[r]);
        for (std::size_t k = 0; k < ReturnPeriods.size(); ++k)
            insert.bind(static_cast<int>(k + 3), grid[r][k]);
        insert.run();
        insert.reset();
    };
    std::string updateSql = "UPDATE " + table + " SET ";
    for (std::size_t k = 0; k < ReturnPeriods.size(); ++k)
        updateSql += (k ? ", " : "") + periodColumn(k) + " = ?";
    updateSql += " WHERE ID = ?";
    Statement update = db.prepare(updateSql);
    Statement changed = db.prepare("SELECT changes()");
    for (std::size_t r = 0; r < grid.size(); ++r) {
        if (fresh) {
            insertRow(r);
            continue;
        }
        for (std::size_t k = 0; k < ReturnPeriods.size(); ++k)
            update.bind(static_cast<int>(k + 1), grid[r][k]);
        update.bind(8, static_cast<std::int64_t>(r + 1));
        update.run();
        update.reset();
        changed.step();
        const bool rowExists = changed.integer(0) > 0;
        changed.reset();
        // A table that lost rows gets them back rather than silently dropping what was typed.
        if (!rowExists)
            insertRow(r);
    }
}

} // namespace

LocationSaved SaveLocation(const Workspace& ws, const std::string& name, const IntensityGrid& grid,
                           const std::optional<std::string>& provenance, bool replace) {
    CheckLocationName(name);
    Database db = OpenIntensityDb(ws);
    // BEGIN IMMEDIATE: the write lock is held from here, so the name cannot be listed by
    // another process between the look and the write.
    Transaction transaction(db);
    Statement exists = db.prepare("SELECT 1 FROM BasinName WHERE BasinName = ? COLLATE NOCASE");
    exists.bind(1, name);
    const bool listed = exists.step();
    exists.reset();
    if (listed && !replace)
        return LocationSaved::Exists;
    if (!listed)
        CheckNewLocationName(name);
    const bool fresh = listLocation(db, name, provenance, listed);
    if (fresh)
        db.exec(createTableSql(name));
    writeLocationRows(db, name, grid, fresh);
    transaction.commit();
    CloseDb(db);
    return listed ? LocationSaved::Updated : LocationSaved::Created;
}

} // namespace pluvane
