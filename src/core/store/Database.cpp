#include "core/store/Database.h"

#include "core/Error.h"
#include "core/io/FileChecks.h"
#include "core/io/IoMessages.h"
#include "core/store/StoreMessages.h"
#include "core/text/NumberText.h"
#include "core/text/Text.h"

#include <sqlite3.h>

#include <algorithm>
#include <utility>

namespace pluvane {

namespace {

// How long a statement waits for another program to let go of the file before it gives up.
constexpr int kBusyTimeoutMs = 1000;

} // namespace

Database::Database(std::shared_ptr<sqlite3> connection, std::string path)
    : m_connection(std::move(connection)), m_db(m_connection.get()), m_path(std::move(path)) {}

Database Database::open(const std::string& path, Mode mode, bool fileChecked) {
    int flags = SQLITE_OPEN_READWRITE;
    if (mode == Mode::ReadOnly)
        flags = SQLITE_OPEN_READONLY;
    if (mode == Mode::Create)
        flags |= SQLITE_OPEN_CREATE;
    if (path.empty())
        throw Error(std::string(kNoFileName));
    // SQLite says "disk I/O error" of a folder and blocks on a FIFO: say what the path is.
    if (mode != Mode::Create && !fileChecked)
        RequireRegularFile(path);
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    Database result(std::shared_ptr<sqlite3>(db, [](sqlite3* c) { sqlite3_close_v2(c); }), path);
    if (rc != SQLITE_OK) {
        if (rc == SQLITE_CANTOPEN)
            throw Error(DatabaseNotOpenableMessage(path));
        result.fail(rc, "opening");
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    return result;
}

Database::Database(Database&& other) noexcept
    : m_connection(std::move(other.m_connection)), m_db(std::exchange(other.m_db, nullptr)),
      m_path(std::move(other.m_path)) {}

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        close();
        m_connection = std::move(other.m_connection);
        m_db = std::exchange(other.m_db, nullptr);
        m_path = std::move(other.m_path);
    }
    return *this;
}

Database::~Database() { close(); }

void Database::close() {
    m_connection.reset();
    m_db = nullptr;
}

Database Database::share() const { return Database(m_connection, m_path); }

void Database::fail(int code, const std::string& doing) const {
    const std::string detail = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(code);
    switch (code & 0xff) {
    case SQLITE_NOTADB:
        throw Error(NotADatabaseMessage(m_path));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw Error(DatabaseBusyMessage(m_path));
    case SQLITE_READONLY: {
        if (code == SQLITE_READONLY_ROLLBACK || code == SQLITE_READONLY_RECOVERY)
            throw Error(HalfWrittenMessage(m_path, WriteObstacle(m_path)));
        const std::string obstacle = WriteObstacle(m_path);
        // A read-only folder (not the file) leaves no place for the journal.
        if (!obstacle.empty() && obstacle != kFileIsReadOnly)
            throw Error(NoJournalMessage(m_path, obstacle));
        throw Error(DatabaseReadOnlyMessage(m_path));
    }
    case SQLITE_CORRUPT:
        throw Error(DatabaseDamagedMessage(m_path, detail));
    case SQLITE_FULL:
        throw Error(DiskFullMessage(m_path));
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
        throw Error(DatabaseIoMessage(m_path, detail));
    default:
        throw Error(DatabaseErrorMessage(doing, m_path, detail));
    }
}

void Database::exec(const std::string& sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        fail(rc, "writing");
}

Statement Database::prepare(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    const int rc =
        sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        fail(rc, "reading");
    }
    return Statement(*this, stmt);
}

bool Database::hasTable(std::string_view name) {
    auto q =
        prepare("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE");
    q.bind(1, name);
    return q.step();
}

Statement::Statement(Database& db, sqlite3_stmt* stmt) : m_db(&db), m_stmt(stmt) {}

Statement::Statement(Statement&& other) noexcept
    : m_db(other.m_db), m_stmt(std::exchange(other.m_stmt, nullptr)) {}

Statement::~Statement() { sqlite3_finalize(m_stmt); }

Statement& Statement::bind(int index, std::string_view text) {
    const int rc = sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()),
                                     SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        m_db->fail(rc, "preparing a statement for");
    return *this;
}

Statement& Statement::bind(int index, std::int64_t value) {
    const int rc = sqlite3_bind_int64(m_stmt, index, value);
    if (rc != SQLITE_OK)
        m_db->fail(rc, "preparing a statement for");
    return *this;
}

Statement& Statement::bindNull(int index) {
    const int rc = sqlite3_bind_null(m_stmt, index);
    if (rc != SQLITE_OK)
        m_db->fail(rc, "preparing a statement for");
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    m_db->fail(rc, "using");
}

void Statement::reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int Statement::columnCount() const { return sqlite3_column_count(m_stmt); }

std::string Statement::columnName(int column) const {
    const char* name = sqlite3_column_name(m_stmt, column);
    return name ? name : "";
}

int Statement::columnIndex(std::string_view name) const {
    for (int i = 0; i < columnCount(); ++i)
        if (EqualsIgnoreCase(columnName(i), name))
            return i;
    return -1;
}

std::optional<std::string> Statement::text(int column) const {
    if (column < 0 || column >= columnCount() || sqlite3_column_type(m_stmt, column) == SQLITE_NULL)
        return std::nullopt;
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    const int size = sqlite3_column_bytes(m_stmt, column);
    return std::string(bytes ? bytes : "", static_cast<std::size_t>(size));
}

std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(m_stmt, column); }

Transaction::Transaction(Database& db, Kind kind) : m_db(db) {
    m_db.exec(kind == Kind::Write ? "BEGIN IMMEDIATE" : "BEGIN");
}

Transaction::~Transaction() {
    if (!m_done && m_db.isOpen()) {
        try {
            m_db.exec("ROLLBACK");
        } catch (...) {
            // The rollback of a failed write must not throw out of a destructor; SQLite rolls
            // the journal back when the file is next opened in any case.
        }
    }
}

void Transaction::commit() {
    m_db.exec("COMMIT");
    m_done = true;
}

Record::Record(std::vector<std::string> names, std::vector<std::optional<std::string>> values)
    : m_names(std::move(names)), m_values(std::move(values)) {}

std::optional<std::string> Record::get(std::string_view column) const {
    for (std::size_t i = 0; i < m_names.size(); ++i)
        if (EqualsIgnoreCase(m_names[i], column))
            return m_values[i];
    return std::nullopt;
}

std::string Record::text(std::string_view column) const { return get(column).value_or(""); }

double Record::number(std::string_view column) const { return ParseLenient(text(column)); }

std::vector<Record> readAll(Statement& statement) {
    std::vector<Record> rows;
    std::vector<std::string> names;
    for (int i = 0; i < statement.columnCount(); ++i)
        names.push_back(statement.columnName(i));
    while (statement.step()) {
        std::vector<std::optional<std::string>> values;
        values.reserve(names.size());
        for (int i = 0; i < statement.columnCount(); ++i)
            values.push_back(statement.text(i));
        rows.emplace_back(names, std::move(values));
    }
    return rows;
}

std::string QuoteIdentifier(std::string_view name) {
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    quoted += '"';
    return quoted;
}

} // namespace pluvane
