#include "core/store/ProjectDb.h"

#include "core/Error.h"
#include "core/Workspace.h"
#include "core/io/AtomicFile.h"
#include "core/io/FileChecks.h"
#include "core/platform/Platform.h"
#include "core/store/StoreMessages.h"
#include "core/text/NumberText.h"
#include "core/text/Text.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>

namespace pluvane {

namespace fs = std::filesystem;

namespace {

// Far above the template's size (tens of kilobytes); only a file that is no template reaches it.
constexpr std::size_t kMaxTemplateBytes = 64u * 1024u * 1024u;

void requireTables(Database& db, const std::string& what) {
    // One look at the schema rather than one per table: this runs on every operation.
    std::set<std::string> tables;
    Statement q = db.prepare("SELECT lower(name) FROM sqlite_master WHERE type = 'table'");
    while (q.step())
        tables.insert(q.text(0).value_or(""));
    for (const char* table : kProjectTables) {
        const std::string folded = LowerAscii(table);
        if (!tables.count(folded))
            throw Error(MissingTableMessage(db.path(), what, table));
    }
}

Database openProject(const Workspace& ws, ProjectConnectionScope::Check check) {
    using Check = ProjectConnectionScope::Check;
    if (ws.ProjectPath.empty())
        throw Error(std::string(kNoProjectOpen));
    Database db = Database::open(ws.ProjectPath, Database::Mode::ReadWrite);
    if (check == Check::AtOpen)
        requireTables(db, "a Pluvane project");
    return db;
}

thread_local ProjectConnectionScope* tInnermostScope = nullptr;

} // namespace

ProjectConnectionScope::ProjectConnectionScope(const Workspace& ws, Check check)
    : m_db(openProject(ws, check)), m_outer(tInnermostScope) {
    tInnermostScope = this;
}

ProjectConnectionScope::~ProjectConnectionScope() { tInnermostScope = m_outer; }

std::optional<Database> ProjectConnectionScope::find(const std::string& path) {
    for (ProjectConnectionScope* scope = tInnermostScope; scope; scope = scope->m_outer)
        if (scope->m_db.path() == path)
            return scope->m_db.share();
    return std::nullopt;
}

Database OpenProjectDb(const Workspace& ws) {
    if (std::optional<Database> shared = ProjectConnectionScope::find(ws.ProjectPath))
        return std::move(*shared);
    return openProject(ws, ProjectConnectionScope::Check::AtOpen);
}

void RequireProjectTables(Database& db) { requireTables(db, "a Pluvane project"); }

namespace {

Database openIntensity(const Workspace& ws, bool begin) {
    const std::string path = ws.intensityDbPath();
    const platform::FileKind kind = platform::KindOf(path);
    if (kind == platform::FileKind::Missing)
        throw Error(IntensityDbMissingMessage(path));
    if (kind != platform::FileKind::Regular)
        RequireRegularFile(path); // says what is there instead
    Database db = Database::open(path, Database::Mode::ReadWrite, true);
    if (begin) {
        // The header read starts the read transaction, so the schema read that the check below
        // needs happens inside it rather than under a lock of its own.
        db.exec("BEGIN");
        db.exec("PRAGMA schema_version");
    }
    if (!db.hasTable("BasinName"))
        throw Error(NotAnIntensityDbMessage(path));
    return db;
}

} // namespace

Database OpenIntensityDb(const Workspace& ws) { return openIntensity(ws, false); }

Database OpenIntensityDbForReading(const Workspace& ws) { return openIntensity(ws, true); }

void CloseDb(Database& db) { db.close(); }

void CheckProjectFile(const std::string& path) {
    // Read-write (SQLite falls back to reading a write-protected file): a journal left by a
    // killed write is rolled back on this first read, where a read-only connection could not.
    Database db = Database::open(path, Database::Mode::ReadWrite);
    requireTables(db, "a Pluvane project");
}

void PurgeDeletedElements(const Workspace& ws) {
    Database db = OpenProjectDb(ws);
    Transaction transaction(db);
    db.exec("DELETE FROM TblBasinInfo WHERE Deleted = 'True';");
    db.exec("DELETE FROM TblChannelInfo WHERE Deleted = 'True';");
    db.exec("DELETE FROM TblSurfaceInfo WHERE Deleted = 'True';");
    transaction.commit();
    CloseDb(db);
}

void CreateProjectFromTemplate(const Workspace& ws, const std::string& path) {
    const std::string source = ws.templatePath();
    if (platform::KindOf(source) == platform::FileKind::Missing)
        throw Error(TemplateMissingMessage(source));
    // A template that is no longer a project would make every new project a copy of whatever
    // replaced it.
    try {
        CheckProjectFile(source);
    } catch (const Error& e) {
        throw Error(TemplateNotAProjectMessage(source, e.what()));
    }
    // Read and written here rather than copied by the system, so that a full disk is told as
    // such (a copy by the kernel reports some write failures as an input/output error).
    WriteFileAtomically(path, ReadFileLimited(source, kMaxTemplateBytes), "The project");
}

void CopyProjectFile(const std::string& from, const std::string& to) {
    RequireRegularFile(from, "The project");
    ReplaceFileAtomically(
        to,
        [&](const std::string& temp) {
            const std::string failure = platform::CopyFileOver(from, temp);
            if (!failure.empty())
                throw Error(ProjectNotCreatedMessage(to, failure));
            std::error_code ec;
            // The copy takes the original's mode; a copy of a read-only project is made to be
            // worked on, so its owner may write it.
            fs::permissions(platform::PathFromUtf8(temp),
                            fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add,
                            ec);
            CheckProjectFile(temp);
        },
        "The project");
}

void CreateDatabaseFromSql(const std::string& path, const std::string& sql) {
    ReplaceFileAtomically(
        path,
        [&](const std::string& temp) {
            Database db = Database::open(temp, Database::Mode::Create);
            Transaction transaction(db);
            db.exec(sql);
            transaction.commit();
        },
        "The database");
}

void WriteElementPosition(const Workspace& ws, ElementKind kind, const std::string& tag, float left,
                          float top) {
    const ElementKindInfo& info = kindInfo(kind);
    std::string sql = "UPDATE " + std::string(info.table) + " SET " + std::string(info.topColumn) +
                      " = ?, " + std::string(info.leftColumn) + " = ?";
    // The node row is the only row of its table, so its statement has no WHERE.
    if (kind != ElementKind::Node)
        sql += " WHERE " + std::string(info.tagColumn) + " = ?";
    Database db = OpenProjectDb(ws);
    Statement statement = db.prepare(sql);
    statement.bind(1, ShortestText(top)).bind(2, ShortestText(left));
    if (kind != ElementKind::Node)
        statement.bind(3, tag);
    statement.run();
    CloseDb(db);
}

std::string ReadElementName(const Workspace& ws, ElementKind kind, const std::string& tag) {
    const ElementKindInfo& info = kindInfo(kind);
    std::string sql = "SELECT " + std::string(info.nameColumn) + " FROM " + std::string(info.table);
    sql += kind == ElementKind::Node
               ? " ORDER BY rowid LIMIT 1"
               : " WHERE " + std::string(info.tagColumn) + " = ? ORDER BY rowid LIMIT 1";
    Database db = OpenProjectDb(ws);
    Statement query = db.prepare(sql);
    if (kind != ElementKind::Node)
        query.bind(1, tag);
    return query.step() ? query.text(0).value_or("") : "";
}

std::map<std::string, std::string> ReadElementNames(const Workspace& ws, ElementKind kind) {
    const ElementKindInfo& info = kindInfo(kind);
    std::map<std::string, std::string> names;
    Database db = OpenProjectDb(ws);
    if (kind == ElementKind::Node) {
        Statement query = db.prepare("SELECT NodeName FROM TblNodeInfo ORDER BY rowid LIMIT 1");
        if (query.step())
            names[""] = query.text(0).value_or("");
        return names;
    }
    Statement query =
        db.prepare("SELECT " + std::string(info.tagColumn) + ", " + std::string(info.nameColumn) +
                   " FROM " + std::string(info.table) + " ORDER BY rowid");
    while (query.step())
        names.emplace(query.text(0).value_or(""),
                      query.text(1).value_or("")); // the first row of a tag wins
    return names;
}

std::string ReadTextFile(const std::string& path) { return ReadFileLimited(path); }

} // namespace pluvane
