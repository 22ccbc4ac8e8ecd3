#include "core/store/RowSnapshot.h"

#include "core/settings/DesignSettings.h"

#include "core/Error.h"
#include "core/hydraulics/OutletConveyance.h"
#include "core/store/ProjectDb.h"
#include "core/store/StoreMessages.h"

#include <algorithm>
#include <set>
#include <vector>

namespace pluvane {

namespace {

void requireProjectTable(const RowKey& key) {
    const bool known = std::any_of(std::begin(kProjectTables), std::end(kProjectTables),
                                   [&](const char* table) { return key.table == table; });
    if (!known && key.table != kConveyanceTable && key.table != kDesignSettingsTable)
        throw Error(NotAProjectTableMessage(key.table));
}

std::string whereClause(const RowKey& key) {
    return key.tagColumn.empty() ? std::string()
                                 : " WHERE " + QuoteIdentifier(key.tagColumn) + " = ?";
}

std::set<std::string> columnsOf(Database& db, const std::string& table) {
    std::set<std::string> columns;
    Statement query = db.prepare("SELECT name FROM pragma_table_info(?)");
    query.bind(1, table);
    while (query.step())
        if (std::optional<std::string> name = query.text(0))
            columns.insert(*name);
    return columns;
}

} // namespace

RowKey RowKey::element(ElementKind kind, const std::string& tag) {
    if (kind == ElementKind::Node)
        return node();
    const ElementKindInfo& info = kindInfo(kind);
    return {std::string(info.table), std::string(info.tagColumn), tag, false};
}

RowKey RowKey::node() { return {"TblNodeInfo", "", "", false}; }

RowKey RowKey::project() { return {"TblProjectInfo", "", "", true}; }

RowKey RowKey::conveyance() { return {std::string(kConveyanceTable), "", "", false}; }

RowKey RowKey::designSettings() { return {std::string(kDesignSettingsTable), "", "", false}; }

std::optional<RowValues> ReadRow(const Workspace& ws, const RowKey& key) {
    requireProjectTable(key);
    Database db = OpenProjectDb(ws);
    if (!db.hasTable(key.table))
        return std::nullopt; // an optional table the file does not have yet
    Statement query = db.prepare("SELECT * FROM " + QuoteIdentifier(key.table) + whereClause(key) +
                                 " ORDER BY rowid" + (key.lastRow ? " DESC" : "") + " LIMIT 1");
    if (!key.tagColumn.empty())
        query.bind(1, key.tag);
    if (!query.step())
        return std::nullopt;
    RowValues row;
    for (int c = 0; c < query.columnCount(); ++c)
        row[query.columnName(c)] = query.text(c);
    return row;
}

void WriteRow(const Workspace& ws, const RowKey& key, const std::optional<RowValues>& values) {
    requireProjectTable(key);
    Database db = OpenProjectDb(ws);
    Transaction transaction(db);
    const std::string table = QuoteIdentifier(key.table);
    const auto bindTag = [&](Statement& statement, int index) {
        if (!key.tagColumn.empty())
            statement.bind(index, key.tag);
    };
    if (!values) {
        Statement remove = db.prepare("DELETE FROM " + table + whereClause(key));
        bindTag(remove, 1);
        remove.run();
    } else {
        const std::set<std::string> known = columnsOf(db, key.table);
        std::vector<std::pair<std::string, std::optional<std::string>>> cells(values->begin(),
                                                                              values->end());
        for (const auto& [column, value] : cells)
            if (!known.contains(column))
                throw Error(NoSuchColumnMessage(key.table, column));
        if (cells.empty())
            throw Error(NoValuesMessage(key.table));
        std::string set;
        for (const auto& [column, value] : cells)
            set += (set.empty() ? "" : ", ") + QuoteIdentifier(column) + " = ?";
        Statement update = db.prepare("UPDATE " + table + " SET " + set + whereClause(key));
        int index = 0;
        for (const auto& [column, value] : cells)
            value ? update.bind(++index, *value) : update.bindNull(++index);
        bindTag(update, ++index);
        update.run();
        Statement changed = db.prepare("SELECT changes()");
        changed.step();
        if (changed.integer(0) == 0) {
            std::string names, marks;
            for (const auto& [column, value] : cells) {
                names += (names.empty() ? "" : ", ") + QuoteIdentifier(column);
                marks += marks.empty() ? "?" : ", ?";
            }
            Statement insert =
                db.prepare("INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")");
            index = 0;
            for (const auto& [column, value] : cells)
                value ? insert.bind(++index, *value) : insert.bindNull(++index);
            insert.run();
        }
    }
    transaction.commit();
    CloseDb(db);
}

bool SetElementDeleted(const Workspace& ws, ElementKind kind, const std::string& tag,
                       bool deleted) {
    if (kind == ElementKind::Node)
        throw Error(std::string(kOutletNotDeletable));
    const ElementKindInfo& info = kindInfo(kind);
    Database db = OpenProjectDb(ws);
    db.prepare("UPDATE " + std::string(info.table) + " SET Deleted = ? WHERE " +
               std::string(info.tagColumn) + " = ?")
        .bindAll(std::string(deleted ? "True" : "False"), tag)
        .run();
    Statement changed = db.prepare("SELECT changes()");
    changed.step();
    const bool found = changed.integer(0) > 0;
    CloseDb(db);
    return found;
}

} // namespace pluvane
