#pragma once

#include <string>
#include <string_view>

namespace pluvane {

// Every message the database layer gives, in one place, so that the wording can be read and
// kept consistent. Shown with the title "Error". A `path` is the file as the user named it.

// Opening a database file and SQLite's failures (Database).
inline std::string DatabaseNotOpenableMessage(std::string_view path) {
    return "The file \"" + std::string(path) +
           "\" cannot be opened: it does not exist or is not readable.";
}
inline std::string NotADatabaseMessage(std::string_view path) {
    return "The file \"" + std::string(path) + "\" is not a database.";
}
inline std::string DatabaseBusyMessage(std::string_view path) {
    return "The file \"" + std::string(path) +
           "\" is in use by another program. Close it there and try again.";
}
// `obstacle` says why the file cannot be written (WriteObstacle); empty when nothing is known.
inline std::string HalfWrittenMessage(std::string_view path, std::string_view obstacle) {
    return "The file \"" + std::string(path) +
           "\" was left half-written by an interrupted write and cannot be restored: " +
           (obstacle.empty() ? std::string("it cannot be written") : std::string(obstacle)) +
           ". Make it writable and open it again.";
}
inline std::string NoJournalMessage(std::string_view path, std::string_view obstacle) {
    return "The file \"" + std::string(path) + "\" cannot be changed: " + std::string(obstacle) +
           " (changes need a journal file beside it).";
}
inline std::string DatabaseReadOnlyMessage(std::string_view path) {
    return "The file \"" + std::string(path) + "\" is read-only; changes cannot be saved.";
}
inline std::string DatabaseDamagedMessage(std::string_view path, std::string_view detail) {
    return "The file \"" + std::string(path) + "\" is damaged (" + std::string(detail) + ").";
}
inline std::string DiskFullMessage(std::string_view path) {
    return "The disk is full; \"" + std::string(path) + "\" was not changed.";
}
inline std::string DatabaseIoMessage(std::string_view path, std::string_view detail) {
    return "The file \"" + std::string(path) + "\" cannot be read or written (" +
           std::string(detail) + ").";
}
// `doing` is the step that failed ("opening", "preparing", ...); `detail` is SQLite's own text.
inline std::string DatabaseErrorMessage(std::string_view doing, std::string_view path,
                                        std::string_view detail) {
    return "Database error while " + std::string(doing) + " \"" + std::string(path) +
           "\": " + std::string(detail);
}

// Project and intensity database files (ProjectDb).
inline constexpr std::string_view kNoProjectOpen = "No project is open.";
// `what` is the kind of file expected ("a Pluvane project").
inline std::string MissingTableMessage(std::string_view path, std::string_view what,
                                       std::string_view table) {
    return "The file \"" + std::string(path) + "\" is not " + std::string(what) + ": the table " +
           std::string(table) + " is missing.";
}
inline std::string IntensityDbMissingMessage(std::string_view path) {
    return "The rainfall intensity database \"" + std::string(path) + "\" is missing.";
}
inline std::string NotAnIntensityDbMessage(std::string_view path) {
    return "The file \"" + std::string(path) +
           "\" is not a rainfall intensity database: the table BasinName is missing.";
}
inline std::string TemplateMissingMessage(std::string_view path) {
    return "The project template \"" + std::string(path) +
           "\" is missing; the new project was not created.";
}
// `reason` is the check's own message.
inline std::string TemplateNotAProjectMessage(std::string_view path, std::string_view reason) {
    return "The project template \"" + std::string(path) +
           "\" is not a Pluvane project; the new project was not created. " + std::string(reason);
}

// A copy of a project (Save Project As) that could not be made.
inline std::string ProjectNotCreatedMessage(std::string_view path, std::string_view reason) {
    return "The project \"" + std::string(path) +
           "\" could not be created: " + std::string(reason) + ".";
}

// The recent list and projects that cannot be written.
inline std::string RecentProjectMissingMessage(std::string_view path) {
    return "The project \"" + std::string(path) +
           "\" is no longer there (moved or deleted); it was taken off the recent list.";
}
// `obstacle` says why (WriteObstacle): "the file is read-only", "the folder ... is read-only".
inline std::string ReadOnlyProjectMessage(std::string_view obstacle) {
    return "The project cannot be changed: " + std::string(obstacle) +
           ". It can be viewed, solved from a copy (File > Save Project As) and printed.";
}

// Rainfall locations of the intensity database (IntensityDb).
inline std::string ReservedLocationMessage(std::string_view name) {
    return "\"" + std::string(name) +
           "\" is not a rainfall location: the name is reserved by the intensity database. "
           "Choose another location.";
}
inline std::string NoSuchLocationTableMessage(std::string_view name) {
    return "The rainfall table \"" + std::string(name) +
           "\" does not exist in the intensity database.";
}
inline std::string LocationColumnMissingMessage(std::string_view name, std::string_view column) {
    return "The rainfall table \"" + std::string(name) + "\" is damaged: it has no " +
           std::string(column) + " column.";
}
inline constexpr std::string_view kNoTableForTc =
    "No rainfall intensity table is chosen for this project; choose one in the project setup "
    "before calculating Tc.";
inline std::string NoDailyRowMessage(std::string_view name) {
    return "The rainfall table \"" + std::string(name) +
           "\" has no 24-hour row (duration 24.0), so the 2-year 24-hour rainfall is unknown.";
}
inline constexpr std::string_view kLocationNameEmpty =
    "Please enter a name for the rainfall table.";
inline constexpr std::string_view kLocationNameTooLong =
    "The rainfall table name is too long (at most 255 characters).";
inline constexpr std::string_view kLocationNameControl =
    "The rainfall table name must not contain control characters.";
inline std::string LocationNameEdgeBlankMessage(std::string_view name) {
    return "The rainfall table name \"" + std::string(name) +
           "\" begins or ends with a blank, which would be lost on export; please remove it.";
}
inline std::string ReservedLocationNameMessage(std::string_view name) {
    return "\"" + std::string(name) +
           "\" is reserved by the intensity database; please choose another name.";
}

// Rows written back by undo and redo (RowSnapshot).
inline std::string NotAProjectTableMessage(std::string_view table) {
    return "\"" + std::string(table) + "\" is not a table of a project file.";
}
inline std::string NoSuchColumnMessage(std::string_view table, std::string_view column) {
    return "The table " + std::string(table) + " has no column \"" + std::string(column) + "\".";
}
inline std::string NoValuesMessage(std::string_view table) {
    return "No values to write into " + std::string(table) + ".";
}
inline constexpr std::string_view kOutletNotDeletable = "The outlet node cannot be deleted.";

// Opening a project file, and the lock that keeps one window per project (ProjectLock).
inline std::string NoSuchFileMessage(std::string_view path) {
    return "The file \"" + std::string(path) + "\" does not exist.";
}
inline std::string ProjectNotOpenableMessage(std::string_view path) {
    return "The project \"" + std::string(path) +
           "\" cannot be opened: it does not exist or is not readable.";
}
inline std::string ProjectOpenElsewhereMessage(std::string_view path) {
    return "The project \"" + std::string(path) +
           "\" is open in another Pluvane window. Close it there first; nothing was changed.";
}
inline std::string ProjectNotLockableMessage(std::string_view path) {
    return "The project \"" + std::string(path) + "\" cannot be locked for editing.";
}

} // namespace pluvane
