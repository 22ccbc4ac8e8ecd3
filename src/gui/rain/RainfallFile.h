#pragma once

#include "core/rain/RainfallImport.h"

#include <QString>

namespace pluvane::gui {

// Reads a rainfall table file (a precipitation-frequency CSV or the shipped table format) for
// review. Throws Error, with a message for the user, when the file cannot be read, is too large
// to be a table, or is refused by the importer.
ImportedTable ReadRainfallFile(const QString& path);

} // namespace pluvane::gui
