#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace pluvane {

class Statement;

// A handle on an open connection to a database file. Every operation of the program opens one,
// uses it and lets it go before it returns, so no connection outlives a user action (one solve
// of a batch shares one connection through share()). Move-only; the destructor lets go.
// Failures throw pluvane::Error with a message naming the file.
class Database {
public:
    enum class Mode {
        ReadWrite, // the file must exist
        ReadOnly,  // the file must exist; nothing is written
        Create,    // created when missing (build tools and tests only)
    };

    // `fileChecked`: the caller has made sure the path is a regular file (RequireRegularFile),
    // so the open does not look again.
    static Database open(const std::string& path, Mode mode = Mode::ReadWrite,
                         bool fileChecked = false);

    Database(Database&& other) noexcept;
    Database& operator=(Database&& other) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    // Runs SQL without parameters (it may hold several statements). Only for fixed texts:
    // values always go through Statement::bind.
    void exec(const std::string& sql);
    Statement prepare(const std::string& sql);

    bool hasTable(std::string_view name);
    // Another handle on the same connection; the connection closes with its last handle.
    Database share() const;
    // Lets go of this handle (the connection itself when it is the last).
    void close();
    bool isOpen() const { return m_db != nullptr; }
    const std::string& path() const { return m_path; }

    // Throws the error of the last failed call, in words a user can act on.
    [[noreturn]] void fail(int code, const std::string& doing) const;

private:
    Database(std::shared_ptr<sqlite3> connection, std::string path);
    std::shared_ptr<sqlite3> m_connection;
    sqlite3* m_db = nullptr; // m_connection.get(), for the calls
    std::string m_path;
    friend class Statement;
};

// A prepared statement with bound values. Finalised by the destructor on every path.
class Statement {
public:
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;
    Statement(const Statement&) = delete;
    ~Statement();

    // Parameters are numbered from 1.
    Statement& bind(int index, std::string_view text);
    Statement& bind(int index, std::int64_t value);
    Statement& bindNull(int index);
    // Binds the values to parameters 1, 2, ... in order.
    template <class... Values>
    Statement& bindAll(const Values&... values) {
        int index = 0;
        (bind(++index, values), ...);
        return *this;
    }

    // Runs one step: true while it yields a row.
    bool step();
    // Runs a statement that yields no rows to its end.
    void run() {
        while (step()) {
        }
    }
    void reset();

    int columnCount() const;
    std::string columnName(int column) const;
    // Case-insensitive lookup of a result column; -1 when absent.
    int columnIndex(std::string_view name) const;
    std::optional<std::string> text(int column) const;
    std::int64_t integer(int column) const;

private:
    Statement(Database& db, sqlite3_stmt* stmt);
    Database* m_db;
    sqlite3_stmt* m_stmt;
    friend class Database;
};

// All-or-nothing for a multi-statement write: commits on commit(), rolls back otherwise. A
// write transaction takes the write lock at once (a writer elsewhere waits for it, and it never
// has to give up half-way); a read transaction sees one state of the file and blocks no writer
// until its first read.
class Transaction {
public:
    enum class Kind { Write, Read };
    explicit Transaction(Database& db, Kind kind = Kind::Write);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();
    void commit();

private:
    Database& m_db;
    bool m_done = false;
};

// One row read into memory. Columns are found by name without regard to case; a missing
// column or a NULL reads as absent.
class Record {
public:
    Record(std::vector<std::string> names, std::vector<std::optional<std::string>> values);
    std::optional<std::string> get(std::string_view column) const;
    // The text of a column, "" when absent or NULL.
    std::string text(std::string_view column) const;
    // The lenient number of a column, 0 when absent or NULL.
    double number(std::string_view column) const;

private:
    std::vector<std::string> m_names;
    std::vector<std::optional<std::string>> m_values;
};

// Runs a query and reads every row (the program's tables hold a few dozen rows at most).
std::vector<Record> readAll(Statement& statement);

// SQL identifier in double quotes, inner quotes doubled: Fort Myers -> "Fort Myers".
std::string QuoteIdentifier(std::string_view name);

} // namespace pluvane
