#pragma once

#include "core/settings/SettingsMessages.h"

#include <optional>
#include <string>
#include <string_view>

namespace pluvane {

struct Workspace;

// The project's descriptive row and its outlet node row, as the setup and node dialogs see
// them: every value is a field text, stored and read back exactly as typed.

// A row of TblProjectInfo, without IValueBasinName (the recorded rainfall table, written
// together with the node row's, see RecordIntensityTable).
struct ProjectFields {
    std::string projectName;    // ProjectName
    std::string jobNumber;      // JobNumber
    std::string designEngineer; // DesignEngineer
    std::string projectManager; // ProjectManager
    std::string designDate;     // DesignDate, free text
    bool operator==(const ProjectFields&) const = default;
};

// The two settings of TblNodeInfo the dialogs edit; the position belongs to the canvas.
struct NodeFields {
    std::string nodeName;       // NodeName
    std::string intensityTable; // IntensityTable, a location name
    bool operator==(const NodeFields&) const = default;
};

// Both node fields hold at least one character: what either dialog needs before it saves.
inline bool IsComplete(const NodeFields& node) {
    return !node.nodeName.empty() && !node.intensityTable.empty();
}

// Where a node row created by these dialogs is placed on the canvas, in twips.
inline constexpr std::string_view kNewNodeX = "5040";
inline constexpr std::string_view kNewNodeY = "5160";

// What the project setup dialog loads. existingProject is true when TblProjectInfo has a row;
// then `project` is its last row (rowid order) and `node` the last node row, absent when the
// file has none. A new project gives empty fields and no node.
struct ProjectSetup {
    bool existingProject = false;
    ProjectFields project;
    std::optional<NodeFields> node;
};

// Every operation below opens the project file (ws.ProjectPath) for itself and closes it again;
// database failures throw pluvane::Error and leave the file as it was. NULL columns read "".

// Reads the setup dialog's rows; the node row's table is in `node`.
ProjectSetup LoadProjectSettings(const Workspace& ws);

// The setup dialog's OK, in one transaction. existingProject (decided when the dialog loaded)
// rewrites the last project row; otherwise, or when that row has gone since, one project row is
// added. The last node row gets the name and table; a file without one gets a node row at
// kNewNodeX, kNewNodeY. The table is recorded as RecordIntensityTable does (every node row and
// IValueBasinName of every project row), in the same transaction. Throws
// Error(kFillBasinInformation), writing nothing, when the node name or table is empty.
void SaveProjectSettings(const Workspace& ws, const ProjectFields& project, const NodeFields& node,
                         bool existingProject);

// The node dialog's view: the first node row, absent when there is none.
std::optional<NodeFields> LoadNodeSettings(const Workspace& ws);

// A change to the first node row: only the columns given are written. A file without a node
// row gets one (at kNewNodeX, kNewNodeY) holding the given columns.
struct NodeChange {
    std::optional<std::string> nodeName;
    std::optional<std::string> intensityTable;
};
void SaveNodeSettings(const Workspace& ws, const NodeChange& change);

// The node picker's OK: records `name` as the project's table (RecordIntensityTable), creating
// the node row when there is none.
void SetNodeIntensityTable(const Workspace& ws, const std::string& name);

// The project picker's OK: records `name` as the project's table (RecordIntensityTable); a
// project without a node row yet (a new project whose setup is not confirmed) gets only its
// project rows written, and its setup OK records the table on the node row.
void SetProjectIntensityTable(const Workspace& ws, const std::string& name);

// The project's rainfall table, recorded twice and kept equal: IntensityTable of every node row
// and IValueBasinName of every project row, written in one transaction, so the table the solve
// uses is always the one the file holds. With `createNode`, a file without a node row gets one
// (at kNewNodeX, kNewNodeY). Throws Error when `name` is empty, writing nothing.
void RecordIntensityTable(const Workspace& ws, const std::string& name, bool createNode);

// The table the project file records: IntensityTable of the first node row (the one the canvas
// and the command line read). Absent when the file has no node row.
std::optional<std::string> RecordedIntensityTable(const Workspace& ws);

} // namespace pluvane
