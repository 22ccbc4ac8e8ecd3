#pragma once

#include "core/store/ProjectLock.h"

#include <string>

namespace pluvane {
struct Workspace;
} // namespace pluvane

namespace pluvane::cli {

// Every command that writes a project holds the program's own lock on it for the whole
// command, so it refuses a project open in a Pluvane window as a second window does. The
// file must be a project (checked first; a journal left by a killed write is rolled back).
ProjectLock LockProjectForWriting(const std::string& path);

// Refuses a report or results file that would destroy what was not asked to be replaced: one
// of the command's inputs under any name (the project, the rainfall database, the template), a
// project held open, any database (GuardOutput).
void RefuseOutputOverInput(const Workspace& ws, const std::string& output);

} // namespace pluvane::cli
