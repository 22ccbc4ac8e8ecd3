#pragma once

#include <string>
#include <string_view>

namespace pluvane {

// Every message of the drainage network and its canvas, in one place, so that the wording can
// be read and kept consistent. Shown with the title "Error".

inline constexpr std::string_view kOutletNotAddable =
    "The outlet node is not an element that can be added.";
inline constexpr std::string_view kOnlyElementsHide =
    "Only an element's image can be shown or hidden.";
// `list` is the kind's image list ("ImgBasin", ...).
inline std::string NoCanvasImageMessage(std::string_view list, int index) {
    return "The canvas has no " + std::string(list) + " image " + std::to_string(index) + ".";
}
inline std::string SelectedNotOnCanvasMessage(std::string_view tag) {
    return "The selected element \"" + std::string(tag) + "\" is not on the canvas.";
}
// An undo or redo found the element's row gone (the file was changed outside this window).
inline std::string ElementGoneMessage(std::string_view tag) {
    return "The element \"" + std::string(tag) + "\" is no longer in the project file.";
}

// Print Drawing.
inline constexpr std::string_view kDrawingNotPrinted =
    "The drawing could not be printed: the printer or the file could not be opened.";

} // namespace pluvane
