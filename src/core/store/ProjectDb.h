#pragma once

#include "core/ElementKind.h"
#include "core/store/Database.h"

#include <map>
#include <optional>
#include <string>

namespace pluvane {

struct Workspace;

// The five tables every project file holds; results live in a sixth, TblResults.
inline constexpr const char* kProjectTables[] = {"TblProjectInfo", "TblNodeInfo", "TblBasinInfo",
                                                 "TblSurfaceInfo", "TblChannelInfo"};

// Opens the project file ProjectPath for one operation. Throws when no project is set, the
// file is missing, is not a database, or lacks a project table.
Database OpenProjectDb(const Workspace& ws);

// While it lives, every OpenProjectDb of its project in the calling thread returns a handle on
// this one connection, checked once, instead of opening the file again: one solve of a batch
// reads its rows, stores its results and renders its report on one connection. Scopes nest;
// another project or another thread opens as usual.
class ProjectConnectionScope {
public:
    enum class Check {
        AtOpen,        // the file and its tables, as OpenProjectDb checks them
        InTransaction, // the file now; its tables in the scope's first transaction (a solve
                       // checks them there, where that costs no lock of its own)
    };
    explicit ProjectConnectionScope(const Workspace& ws, Check check = Check::AtOpen);
    ProjectConnectionScope(const ProjectConnectionScope&) = delete;
    ProjectConnectionScope& operator=(const ProjectConnectionScope&) = delete;
    ~ProjectConnectionScope();

    // A handle on the scope's connection when one of this thread holds `path`.
    static std::optional<Database> find(const std::string& path);

private:
    Database m_db;
    ProjectConnectionScope* m_outer;
};

// Throws Error naming the file when the open database lacks a project table.
void RequireProjectTables(Database& db);

// Opens DataFolder/intensity.mdb for one operation. Throws when it is missing or is not an
// intensity database.
Database OpenIntensityDb(const Workspace& ws);

// The same inside a read transaction, begun before the check so that the reads that follow
// see one state of the file at the cost of one lock; closing the connection ends it.
Database OpenIntensityDbForReading(const Workspace& ws);

// Ends an operation: closes the connection (the destructor does the same on every path).
void CloseDb(Database& db);

// Checks that `path` is a regular file holding the project tables. It opens the file
// read-write, so that a write killed halfway is rolled back here rather than locking every
// later open out; nothing else is written.
void CheckProjectFile(const std::string& path);

// Removes the rows marked deleted from the three element tables, in one transaction: all
// three go or none does.
void PurgeDeletedElements(const Workspace& ws);

// A new project: a byte copy of the template to `path`, replacing a file of that name. The
// copy is written beside the target and renamed into place, so a failure leaves no half file.
void CreateProjectFromTemplate(const Workspace& ws, const std::string& path);

// Save As: a byte copy of the project `from` to `to`, written beside the target and renamed into
// place, so a failure leaves `to` as it was; `from` is only read. The copy is checked to hold
// the project tables before it replaces anything.
void CopyProjectFile(const std::string& from, const std::string& to);

// Builds a database file from SQL text (the template and the intensity schema). The file is
// written under a temporary name and renamed, so a reader never sees it half-built.
void CreateDatabaseFromSql(const std::string& path, const std::string& sql);

// Writes an element's position as the mouse-up statement does, by tag.
void WriteElementPosition(const Workspace& ws, ElementKind kind, const std::string& tag, float left,
                          float top);

// The display name of an element by its tag (the node: of the first node row); "" when no row
// carries the tag.
std::string ReadElementName(const Workspace& ws, ElementKind kind, const std::string& tag);

// Every element's display name of a kind, by tag (the node: its first row's name under "").
std::map<std::string, std::string> ReadElementNames(const Workspace& ws, ElementKind kind);

// Reads a whole text file; throws Error naming the file when it cannot.
std::string ReadTextFile(const std::string& path);

} // namespace pluvane
