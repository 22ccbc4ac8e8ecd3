#include "store/IntensityDb.h"

#include "Error.h"
#include "Workspace.h"
#include "store/ProjectDb.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

namespace pluvane {

namespace {

constexpr std::size_t kMaxLocationNameBytes = 255;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string periodColumn(std::size_t k) { return QuoteIdentifier(std::to_string(ReturnPeriods[k])); }

void requireLocationTable(Database& db, const std::string& name) {
    const std::string folded = lower(name);
    if (folded == "basinname" || folded.rfind("sqlite_", 0) == 0)
        throw Error("\"" + name + "\" is not a rainfall location: the name is reserved by the intensity "
                    "database. Choose another location.");
    if (!db.hasTable(name))
        throw Error("The rainfall table \"" + name + "\" does not exist in the intensity database.");
}

std::string createTableSql(const std::string& name) {
    std::string sql = "CREATE TABLE " + QuoteIdentifier(name) +
                      " (ID INTEGER PRIMARY KEY, Duration TEXT NULL";
    for (std::size_t k = 0; k < ReturnPeriods.size(); ++k)
        sql += ", " + periodColumn(k) + " TEXT NULL";
    return sql + ")";
}

std::string trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return "";
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> splitCsv(const std::string& line) {
    std::vector<std::string> cells;
    std::string cell;
    std::istringstream in(line);
    while (std::getline(in, cell, ','))
        cells.push_back(trim(cell));
    if (!line.empty() && line.back() == ',')
        cells.emplace_back();
    return cells;
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
    requireLocationTable(db, name);
    {
        Statement columns = db.prepare("SELECT * FROM " + QuoteIdentifier(name) + " LIMIT 0");
        for (const char* column : {"ID", "Duration"})
            if (columns.columnIndex(column) < 0)
                throw Error("The rainfall table \"" + name + "\" is damaged: it has no " + column + " column.");
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
    CloseDb(db);
    return rows;
}

double ReadTwoYearDailyIntensity(const Workspace& ws) {
    const std::string& name = ws.CurrentIntensityTable;
    if (name.empty())
        throw Error("No rainfall intensity table is chosen for this project; choose one in the "
                    "project setup before calculating Tc.");
    Database db = OpenIntensityDb(ws);
    requireLocationTable(db, name);
    Statement q = db.prepare("SELECT \"2\" FROM " + QuoteIdentifier(name) + " WHERE Duration = '24.0'");
    if (!q.step())
        throw Error("The rainfall table \"" + name +
                    "\" has no 24-hour row (duration 24.0), so the 2-year 24-hour rainfall is unknown.");
    return ParseLenient(q.text(0).value_or(""));
}

std::string ReadProvenance(const Workspace& ws, const std::string& name) {
    Database db = OpenIntensityDb(ws);
    Statement q = db.prepare("SELECT Provenance FROM BasinName WHERE BasinName = ? COLLATE NOCASE");
    q.bind(1, name);
    return q.step() ? q.text(0).value_or("") : "";
}

void CheckLocationName(const std::string& name) {
    if (trim(name).empty())
        throw Error("Please enter a name for the rainfall table.");
    if (name.size() > kMaxLocationNameBytes)
        throw Error("The rainfall table name is too long (at most 255 characters).");
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7f)
            throw Error("The rainfall table name must not contain control characters.");
    const std::string folded = lower(name);
    if (folded == "basinname" || folded.rfind("sqlite_", 0) == 0)
        throw Error("\"" + name + "\" is reserved by the intensity database; please choose another name.");
}

void SaveLocation(Workspace& ws, const std::string& name, const IntensityGrid& grid,
                  const std::optional<std::string>& provenance) {
    CheckLocationName(name);
    Database db = OpenIntensityDb(ws);
    Transaction transaction(db);
    Statement exists = db.prepare("SELECT 1 FROM BasinName WHERE BasinName = ? COLLATE NOCASE");
    exists.bind(1, name);
    const bool listed = exists.step();
    const std::string table = QuoteIdentifier(name);
    // A listed location whose table has gone missing gets a fresh table rather than a failure.
    const bool tableExists = db.hasTable(name);
    if (!listed) {
        Statement insert = db.prepare("INSERT INTO BasinName (BasinName, Provenance) VALUES (?, ?)");
        insert.bind(1, name);
        if (provenance)
            insert.bind(2, *provenance);
        else
            insert.bindNull(2);
        insert.run();
    } else if (provenance) {
        Statement update = db.prepare("UPDATE BasinName SET Provenance = ? WHERE BasinName = ? COLLATE NOCASE");
        update.bindAll(*provenance, name).run();
    }
    const bool create = !listed || !tableExists;
    if (create) {
        if (tableExists) // an unlisted table of that name: start it afresh
            db.exec("DROP TABLE " + table);
        db.exec(createTableSql(name));
    }
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
        if (create) {
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
    transaction.commit();
    CloseDb(db);
    ws.CurrentIntensityTable = name;
}

LocationFile ParseLocationCsv(const std::string& text) {
    LocationFile file;
    std::vector<std::string> provenance;
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    std::vector<int> columnOfPeriod; // header position of each return period
    std::array<bool, 10> seen{};
    bool headerSeen = false;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (lineNumber == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (trim(line).empty())
            continue;
        if (line.front() == '#') {
            const std::string body = trim(std::string_view(line).substr(1));
            const auto colon = body.find(':');
            if (colon != std::string::npos && lower(trim(body.substr(0, colon))) == "location")
                file.name = trim(body.substr(colon + 1));
            else
                provenance.push_back(body);
            continue;
        }
        const std::vector<std::string> cells = splitCsv(line);
        if (!headerSeen) {
            if (lower(cells.front()) != "duration_hours")
                throw Error(where + "expected the header \"duration_hours,1,2,5,10,25,50,100\".");
            for (std::int16_t period : ReturnPeriods) {
                const auto it = std::find(cells.begin() + 1, cells.end(), std::to_string(period));
                if (it == cells.end())
                    throw Error(where + "the header has no column for the " +
                                std::to_string(period) + "-year return period.");
                columnOfPeriod.push_back(static_cast<int>(it - cells.begin()));
            }
            headerSeen = true;
            continue;
        }
        const double hours = ParseLenient(cells.front());
        std::size_t row = kDurationTexts.size();
        for (std::size_t r = 0; r < kDurationTexts.size(); ++r)
            if (std::abs(hours - ParseLenient(kDurationTexts[r])) < 1e-4)
                row = r;
        if (row == kDurationTexts.size())
            throw Error(where + "the duration \"" + cells.front() +
                        "\" is not one of the ten stored durations (5 min to 24 hr).");
        if (seen[row])
            throw Error(where + "the duration \"" + cells.front() + "\" appears twice.");
        seen[row] = true;
        for (std::size_t k = 0; k < ReturnPeriods.size(); ++k) {
            const auto column = static_cast<std::size_t>(columnOfPeriod[k]);
            const std::string cell = column < cells.size() ? cells[column] : "";
            if (ParseLenient(cell) <= 0.0)
                throw Error(where + "the " + std::to_string(ReturnPeriods[k]) +
                            "-year intensity \"" + cell + "\" is not a positive number.");
            file.grid[row][k] = cell;
        }
    }
    if (!headerSeen)
        throw Error("The file has no header line \"duration_hours,1,2,5,10,25,50,100\".");
    for (std::size_t r = 0; r < seen.size(); ++r)
        if (!seen[r])
            throw Error(std::string("The file has no row for the duration ") + kDurationTexts[r] + " hours.");
    for (std::size_t i = 0; i < provenance.size(); ++i)
        file.provenance += (i ? "\n" : "") + provenance[i];
    return file;
}

} // namespace pluvane
