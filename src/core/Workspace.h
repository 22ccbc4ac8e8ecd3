#pragma once

#include <optional>
#include <string>

namespace pluvane {

// The process-wide state of a run, in one object that the application owns and hands to
// whoever needs it. What belongs to one open project lives with it: the GUI's project session
// keeps its rainfall table, the canvas's model its selection.
struct Workspace {
    std::string ProjectPath; // current project file; empty until New or Open
    std::string DataFolder;  // holds empty.mdb and intensity.mdb; set once at start-up

    std::string templatePath() const { return DataFolder + "/empty.mdb"; }
    std::string intensityDbPath() const { return DataFolder + "/intensity.mdb"; }
};

// The data folder: a configured install path first (even an empty one, which then points at the
// root folder), else the folder of the executable. No trailing separator is kept.
std::string LookupDataFolder(const std::optional<std::string>& installPath,
                             const std::string& executableDir);

} // namespace pluvane
