#pragma once

#include <string>

namespace pluvane::gui {

// The data folder of this run: the InstallPath setting when present, else the folder of the
// program.
std::string FindDataFolder();

} // namespace pluvane::gui
