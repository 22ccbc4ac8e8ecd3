#pragma once

#include "core/ElementKind.h"

#include <map>
#include <optional>
#include <string>

namespace pluvane {

struct Workspace;

// The rows one undo step reads before a write and writes back afterwards: an element's row by
// its tag, or the node row or the project row (tables without tags, whose writes set every row).
struct RowKey {
    std::string table;
    std::string tagColumn; // "" for the node and project tables
    std::string tag;
    bool lastRow = false; // untagged: the row read is the last one (the project), else the first

    static RowKey element(ElementKind kind, const std::string& tag); // the node for Node
    static RowKey node();
    static RowKey project();
    static RowKey conveyance();     // the outlet conveyance, whose table older files lack
    static RowKey designSettings(); // the minimum Tc, whose table older files lack

    auto operator<=>(const RowKey&) const = default;
};

// A row as column name -> text; an absent value is a NULL column.
using RowValues = std::map<std::string, std::optional<std::string>>;

// Reads the row `key` names; absent when there is none (or no table for it). Throws Error on a database failure.
std::optional<RowValues> ReadRow(const Workspace& ws, const RowKey& key);

// Writes `values` back into the rows `key` names, in one transaction: every column given is set
// (unknown columns are refused); when no row matches, the row is inserted. Absent `values`
// removes the rows. A failure throws Error and leaves the file as it was.
void WriteRow(const Workspace& ws, const RowKey& key, const std::optional<RowValues>& values);

// Marks an element's row deleted ("True") or live again ("False"), by tag. False when no row
// carries the tag.
bool SetElementDeleted(const Workspace& ws, ElementKind kind, const std::string& tag, bool deleted);

} // namespace pluvane
