#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace pluvane {
struct Workspace;
} // namespace pluvane

namespace pluvane::cli {

// `locations export NAME [--csv] [--out FILE]`: the location in the shipped CSV format, with its
// source lines, on `out` or in FILE (written whole or not at all). Throws Error for an unknown
// location or a table the format cannot carry.
int ExportLocation(const Workspace& ws, const std::string& name,
                   const std::optional<std::string>& file, std::ostream& out);

} // namespace pluvane::cli
