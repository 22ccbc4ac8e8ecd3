#pragma once

#include <iosfwd>
#include <string>

namespace pluvane {
struct Workspace;
} // namespace pluvane

namespace pluvane::cli {

// Exit code of `check` when the project has notes.
inline constexpr int kHasFindings = 3;

// `check PROJECT.rmt [--json]`: every review note of the project, one line each (or one JSON
// document). 0 without notes, kHasFindings with some; throws Error when the project cannot be
// read.
int CheckProject(Workspace& ws, const std::string& project, bool json, std::ostream& out);

} // namespace pluvane::cli
