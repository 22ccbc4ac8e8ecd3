#include "core/elements/ElementRecords.h"

#include "core/ElementKind.h"
#include "core/Error.h"
#include "core/Workspace.h"
#include "core/elements/ElementMessages.h"
#include "core/store/Database.h"
#include "core/store/ProjectDb.h"

#include <array>
#include <span>
#include <string_view>

namespace pluvane {

namespace {

// One dialog column of an element table and the field that holds its text.
template <class Fields>
struct Column {
    std::string_view name;
    std::string Fields::*field;
};

// The dialog columns of a kind; the table, tag and position columns come from its kind info.
template <class Fields>
struct Layout {
    ElementKind kind;
    std::span<const Column<Fields>> columns;
};

constexpr std::array<Column<BasinFields>, 9> kBasinColumns{{
    {"BasinName", &BasinFields::name},
    {"Area", &BasinFields::area},
    {"SoilType", &BasinFields::soilType},
    {"CVal", &BasinFields::c},
    {"Slope", &BasinFields::slope},
    {"TravelLength", &BasinFields::travelLength},
    {"BasinNType", &BasinFields::nType},
    {"BasinN", &BasinFields::n},
    {"Tc", &BasinFields::tc},
}};

constexpr std::array<Column<SurfaceFields>, 6> kSurfaceColumns{{
    {"SurfName", &SurfaceFields::name},
    {"SurfLength", &SurfaceFields::length},
    {"SurfSlope", &SurfaceFields::slope},
    {"SurfType", &SurfaceFields::type},
    {"SurfVelocity", &SurfaceFields::velocity},
    {"SurfTc", &SurfaceFields::tc},
}};

constexpr std::array<Column<ChannelFields>, 9> kChannelColumns{{
    {"ChannelName", &ChannelFields::name},
    {"ChannelArea", &ChannelFields::area},
    {"ChannelWP", &ChannelFields::wettedPerimeter},
    {"ChannelSlope", &ChannelFields::slope},
    {"ChannelLength", &ChannelFields::length},
    {"ChannelMaterial", &ChannelFields::material},
    {"ChannelN", &ChannelFields::n},
    {"ChannelVelocity", &ChannelFields::velocity},
    {"ChannelTc", &ChannelFields::tc},
}};

constexpr Layout<BasinFields> kBasinLayout{ElementKind::Basin, kBasinColumns};
constexpr Layout<SurfaceFields> kSurfaceLayout{ElementKind::Surface, kSurfaceColumns};
constexpr Layout<ChannelFields> kChannelLayout{ElementKind::Channel, kChannelColumns};

constexpr std::string_view kLiveFlag = "False";

std::string str(std::string_view text) { return std::string(text); }

bool tagExists(Database& db, const ElementKindInfo& info, const std::string& tag) {
    Statement query = db.prepare("SELECT 1 FROM " + str(info.table) + " WHERE " +
                                 str(info.tagColumn) + " = ? LIMIT 1");
    query.bind(1, tag);
    return query.step();
}

template <class Fields>
void insertRow(const Workspace& ws, const Layout<Fields>& layout, const std::string& tag,
               long long left, long long top, const Fields& fields) {
    const ElementKindInfo& info = kindInfo(layout.kind);
    std::string columns = str(info.tagColumn) + ", " + str(info.leftColumn) + ", " +
                          str(info.topColumn) + ", Deleted";
    std::string placeholders = "?, ?, ?, ?";
    for (const Column<Fields>& column : layout.columns) {
        columns += ", " + str(column.name);
        placeholders += ", ?";
    }

    Database db = OpenProjectDb(ws);
    // The check and the insert in one transaction, so no second row with the tag slips in.
    Transaction transaction(db);
    if (tagExists(db, info, tag))
        throw Error(DuplicateTagMessage(tag), str(kElementErrorTitle));
    {
        Statement insert = db.prepare("INSERT INTO " + str(info.table) + " (" + columns +
                                      ") VALUES (" + placeholders + ")");
        insert.bindAll(tag, std::to_string(left), std::to_string(top), kLiveFlag);
        int index = 5;
        for (const Column<Fields>& column : layout.columns)
            insert.bind(index++, fields.*column.field);
        insert.run();
    }
    transaction.commit();
    CloseDb(db);
}

template <class Fields>
bool updateRow(const Workspace& ws, const Layout<Fields>& layout, const std::string& tag,
               const Fields& fields) {
    const ElementKindInfo& info = kindInfo(layout.kind);
    std::string sql = "UPDATE " + str(info.table) + " SET ";
    bool first = true;
    for (const Column<Fields>& column : layout.columns) {
        sql += (first ? "" : ", ") + str(column.name) + " = ?";
        first = false;
    }
    sql += " WHERE " + str(info.tagColumn) + " = ?";

    Database db = OpenProjectDb(ws);
    {
        Statement update = db.prepare(sql);
        int index = 1;
        for (const Column<Fields>& column : layout.columns)
            update.bind(index++, fields.*column.field);
        update.bind(index, tag);
        update.run();
    }
    bool changed = false;
    {
        // Rows the UPDATE matched, on this connection: 0 when no row carries the tag.
        Statement changes = db.prepare("SELECT changes()");
        changed = changes.step() && changes.integer(0) > 0;
    }
    CloseDb(db);
    return changed;
}

template <class Fields>
std::optional<Fields> loadRow(const Workspace& ws, const Layout<Fields>& layout,
                              const std::string& tag) {
    const ElementKindInfo& info = kindInfo(layout.kind);
    std::string sql = "SELECT ";
    bool first = true;
    for (const Column<Fields>& column : layout.columns) {
        sql += (first ? "" : ", ") + str(column.name);
        first = false;
    }
    // Tags are unique; should a damaged file hold two rows with one tag, take the first stored.
    sql += " FROM " + str(info.table) + " WHERE " + str(info.tagColumn) +
           " = ? ORDER BY rowid LIMIT 1";

    std::optional<Fields> fields;
    Database db = OpenProjectDb(ws);
    {
        Statement query = db.prepare(sql);
        query.bind(1, tag);
        if (query.step()) {
            fields.emplace();
            int index = 0;
            for (const Column<Fields>& column : layout.columns)
                (*fields).*column.field = query.text(index++).value_or("");
        }
    }
    CloseDb(db);
    return fields;
}

template <class Fields>
std::vector<LiveElement<Fields>> loadLiveRows(const Workspace& ws, const Layout<Fields>& layout) {
    const ElementKindInfo& info = kindInfo(layout.kind);
    // SELECT * and columns by name, so that a table without one of them still reads.
    std::vector<Record> records;
    Database db = OpenProjectDb(ws);
    {
        Statement query = db.prepare("SELECT * FROM " + str(info.table) +
                                     " WHERE Deleted = 'False' ORDER BY rowid");
        records = readAll(query);
    }
    CloseDb(db);
    std::vector<LiveElement<Fields>> rows;
    rows.reserve(records.size());
    for (const Record& record : records) {
        LiveElement<Fields>& row = rows.emplace_back();
        row.tag = record.text(info.tagColumn);
        for (const Column<Fields>& column : layout.columns)
            row.fields.*column.field = record.text(column.name);
    }
    return rows;
}

} // namespace

void InsertBasin(const Workspace& ws, const std::string& tag, long long left, long long top,
                 const BasinFields& fields) {
    insertRow(ws, kBasinLayout, tag, left, top, fields);
}

bool UpdateBasin(const Workspace& ws, const std::string& tag, const BasinFields& fields) {
    return updateRow(ws, kBasinLayout, tag, fields);
}

std::optional<BasinFields> LoadBasin(const Workspace& ws, const std::string& tag) {
    return loadRow(ws, kBasinLayout, tag);
}

void InsertSurface(const Workspace& ws, const std::string& tag, long long left, long long top,
                   const SurfaceFields& fields) {
    insertRow(ws, kSurfaceLayout, tag, left, top, fields);
}

bool UpdateSurface(const Workspace& ws, const std::string& tag, const SurfaceFields& fields) {
    return updateRow(ws, kSurfaceLayout, tag, fields);
}

std::optional<SurfaceFields> LoadSurface(const Workspace& ws, const std::string& tag) {
    return loadRow(ws, kSurfaceLayout, tag);
}

void InsertChannel(const Workspace& ws, const std::string& tag, long long left, long long top,
                   const ChannelFields& fields) {
    insertRow(ws, kChannelLayout, tag, left, top, fields);
}

bool UpdateChannel(const Workspace& ws, const std::string& tag, const ChannelFields& fields) {
    return updateRow(ws, kChannelLayout, tag, fields);
}

std::optional<ChannelFields> LoadChannel(const Workspace& ws, const std::string& tag) {
    return loadRow(ws, kChannelLayout, tag);
}

std::vector<LiveElement<BasinFields>> LoadLiveBasins(const Workspace& ws) {
    return loadLiveRows(ws, kBasinLayout);
}

std::vector<LiveElement<SurfaceFields>> LoadLiveSurfaces(const Workspace& ws) {
    return loadLiveRows(ws, kSurfaceLayout);
}

std::vector<LiveElement<ChannelFields>> LoadLiveChannels(const Workspace& ws) {
    return loadLiveRows(ws, kChannelLayout);
}

} // namespace pluvane
