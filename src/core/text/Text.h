#pragma once

#include <string>
#include <string_view>

namespace pluvane {

// Texts every layer shares: one home for each small helper.

// A stored text on one line, as a table cell: control characters become spaces, since a tab
// would shift every later column and a line end would split the row.
std::string CellText(std::string_view text);

} // namespace pluvane
