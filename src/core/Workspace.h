#pragma once

#include "core/ElementKind.h"

#include <optional>
#include <string>

namespace pluvane {

// The element image last pressed on the canvas. Tags never change, so the tag is kept here
// beside the image's place in its list.
struct ElementRef {
    ElementKind kind = ElementKind::Node;
    int index = 0;
    std::string tag;
};

// The process-wide state of a run, in one object that the application owns and hands to
// whoever needs it.
struct Workspace {
    std::string ProjectPath; // current project file; empty until New or Open
    std::string DataFolder;  // holds empty.mdb and intensity.mdb; set once at start-up
    std::optional<ElementRef> SelectedElement;

    std::string templatePath() const { return DataFolder + "/empty.mdb"; }
    std::string intensityDbPath() const { return DataFolder + "/intensity.mdb"; }
};

// The data folder: a configured install path first (even an empty one, which then points at the
// root folder), else the folder of the executable. No trailing separator is kept.
std::string LookupDataFolder(const std::optional<std::string>& installPath,
                             const std::string& executableDir);

} // namespace pluvane
