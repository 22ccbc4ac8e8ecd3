#include "core/settings/ProjectSettings.h"

#include "core/Error.h"
#include "core/Workspace.h"
#include "core/store/Database.h"
#include "core/store/ProjectDb.h"

#include <cstdint>
#include <vector>

namespace pluvane {

namespace {

// The rowid of the first or last row of a project table; absent when the table is empty.
std::optional<std::int64_t> edgeRow(Database& db, const char* table, const char* edge) {
    Statement q = db.prepare(std::string("SELECT ") + edge + "(rowid) FROM " + table);
    if (!q.step() || !q.text(0))
        return std::nullopt;
    return q.integer(0);
}

std::optional<Record> readRow(Database& db, const char* table, std::int64_t rowid) {
    Statement q = db.prepare(std::string("SELECT * FROM ") + table + " WHERE rowid = ?");
    q.bind(1, rowid);
    std::vector<Record> rows = readAll(q);
    if (rows.empty())
        return std::nullopt;
    return rows.front();
}

NodeFields nodeFrom(const Record& row) {
    return {row.text("NodeName"), row.text("IntensityTable")};
}

void insertNode(Database& db, const NodeChange& change) {
    db.prepare(
          "INSERT INTO TblNodeInfo (NodeName, IntensityTable, NodeX, NodeY) VALUES (?, ?, ?, ?)")
        .bindAll(change.nodeName.value_or(""), change.intensityTable.value_or(""),
                 std::string(kNewNodeX), std::string(kNewNodeY))
        .run();
}

// Writes the given columns of the node row `rowid`, or of a new row when there is none.
void writeNode(Database& db, std::optional<std::int64_t> rowid, const NodeChange& change) {
    if (!rowid) {
        insertNode(db, change);
        return;
    }
    std::string sets;
    std::vector<std::string> values;
    if (change.nodeName) {
        sets += "NodeName = ?";
        values.push_back(*change.nodeName);
    }
    if (change.intensityTable) {
        sets += sets.empty() ? "IntensityTable = ?" : ", IntensityTable = ?";
        values.push_back(*change.intensityTable);
    }
    if (sets.empty())
        return;
    Statement q = db.prepare("UPDATE TblNodeInfo SET " + sets + " WHERE rowid = ?");
    int index = 0;
    for (const std::string& value : values)
        q.bind(++index, value);
    q.bind(++index, *rowid);
    q.run();
}

// The project's table on every node row and every project row, kept equal.
void recordTable(Database& db, const std::string& name) {
    db.prepare("UPDATE TblNodeInfo SET IntensityTable = ?").bind(1, name).run();
    db.prepare("UPDATE TblProjectInfo SET IValueBasinName = ?").bind(1, name).run();
}

} // namespace

ProjectSetup LoadProjectSettings(const Workspace& ws) {
    ProjectSetup setup;
    Database db = OpenProjectDb(ws);
    const auto projectRow = edgeRow(db, "TblProjectInfo", "max");
    setup.existingProject = projectRow.has_value();
    if (!setup.existingProject)
        return setup;
    if (const auto row = readRow(db, "TblProjectInfo", *projectRow))
        setup.project = {row->text("ProjectName"), row->text("JobNumber"),
                         row->text("DesignEngineer"), row->text("ProjectManager"),
                         row->text("DesignDate")};
    if (const auto nodeRow = edgeRow(db, "TblNodeInfo", "max"))
        if (const auto row = readRow(db, "TblNodeInfo", *nodeRow))
            setup.node = nodeFrom(*row);
    CloseDb(db);
    return setup;
}

void SaveProjectSettings(const Workspace& ws, const ProjectFields& project, const NodeFields& node,
                         bool existingProject) {
    if (!IsComplete(node))
        throw Error(std::string(kFillBasinInformation));
    Database db = OpenProjectDb(ws);
    Transaction transaction(db);
    const auto projectRow = edgeRow(db, "TblProjectInfo", "max");
    if (existingProject && projectRow) {
        db.prepare(
              "UPDATE TblProjectInfo SET ProjectName = ?, DesignEngineer = ?, ProjectManager = ?, "
              "DesignDate = ?, JobNumber = ? WHERE rowid = ?")
            .bindAll(project.projectName, project.designEngineer, project.projectManager,
                     project.designDate, project.jobNumber, *projectRow)
            .run();
    } else {
        db.prepare("INSERT INTO TblProjectInfo (ProjectName, DesignEngineer, ProjectManager, "
                   "DesignDate, JobNumber) VALUES (?, ?, ?, ?, ?)")
            .bindAll(project.projectName, project.designEngineer, project.projectManager,
                     project.designDate, project.jobNumber)
            .run();
    }
    // The dialog edits the last node row; a project whose setup stopped half-way has none yet.
    writeNode(db, edgeRow(db, "TblNodeInfo", "max"), {node.nodeName, node.intensityTable});
    recordTable(db, node.intensityTable);
    transaction.commit();
    CloseDb(db);
}

std::optional<NodeFields> LoadNodeSettings(const Workspace& ws) {
    Database db = OpenProjectDb(ws);
    std::optional<NodeFields> node;
    if (const auto nodeRow = edgeRow(db, "TblNodeInfo", "min"))
        if (const auto row = readRow(db, "TblNodeInfo", *nodeRow))
            node = nodeFrom(*row);
    CloseDb(db);
    return node;
}

void SaveNodeSettings(const Workspace& ws, const NodeChange& change) {
    Database db = OpenProjectDb(ws);
    Transaction transaction(db);
    writeNode(db, edgeRow(db, "TblNodeInfo", "min"), change);
    transaction.commit();
    CloseDb(db);
}

void SetNodeIntensityTable(const Workspace& ws, const std::string& name) {
    RecordIntensityTable(ws, name, true);
}

void SetProjectIntensityTable(const Workspace& ws, const std::string& name) {
    RecordIntensityTable(ws, name, false);
}

void RecordIntensityTable(const Workspace& ws, const std::string& name, bool createNode) {
    if (name.empty())
        throw Error(std::string(kChooseRainfallTable));
    Database db = OpenProjectDb(ws);
    Transaction transaction(db);
    if (createNode && !edgeRow(db, "TblNodeInfo", "min"))
        insertNode(db, {std::nullopt, name});
    recordTable(db, name);
    transaction.commit();
    CloseDb(db);
}

std::optional<std::string> RecordedIntensityTable(const Workspace& ws) {
    Database db = OpenProjectDb(ws);
    std::optional<std::string> table;
    if (const auto nodeRow = edgeRow(db, "TblNodeInfo", "min"))
        if (const auto row = readRow(db, "TblNodeInfo", *nodeRow))
            table = row->text("IntensityTable");
    CloseDb(db);
    return table;
}

} // namespace pluvane
