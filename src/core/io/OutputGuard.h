#pragma once

#include <string>

namespace pluvane {

struct Workspace;

// What a write is for, which decides what it may replace.
enum class OutputPurpose {
    // A report, an export, printed pages, results for scripts: a new file, or an existing file
    // that is not a database.
    ReportOutput,
    // A project written in place of a file (a new project over an old one, Save Project As):
    // may also replace a project that no Pluvane window holds.
    ReplaceProject,
};

// The one check every writer makes before it writes `output`. Throws Error, with nothing
// written, when the file is one the command did not ask to replace: the open project
// (ws.ProjectPath), the rainfall database or the template of ws.DataFolder (the same file by
// device and inode, so through symbolic and hard links too), a project a Pluvane window holds,
// or any other database file, unless `purpose` is ReplaceProject and it is an unheld project.
// A file that does not exist yet is never refused here.
void GuardOutput(const Workspace& ws, const std::string& output, OutputPurpose purpose);

} // namespace pluvane
