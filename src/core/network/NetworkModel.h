#pragma once

#include "core/ElementKind.h"

#include <array>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace pluvane {

struct Workspace;

// One picture on the canvas. Positions and sizes are in twips; positions are single precision
// because that is what a stored position text reads back to.
struct CanvasImage {
    float left = 0, top = 0, width = 0, height = 0;
    std::string tag;       // the row's tag; empty for the node and the templates
    bool visible = false;  // live element or node; templates and deleted elements are hidden
    bool bordered = false; // selection border

    float centreX() const { return left + width / 2; }
    float centreY() const { return top + height / 2; }
};

// A connector from a visible element image's centre (x1, y1) to the node's centre (x2, y2).
// `kind` and `index` name the element image it belongs to.
struct Connector {
    ElementKind kind;
    int index;
    float x1, y1, x2, y2;
};

enum class LoadResult {
    Loaded,     // the canvas shows the project
    NeedsSetup, // the project has no node row: the caller shows project setup instead
};

// What LoadNetwork found: whether the canvas shows the project, and the rainfall table the
// first node row records (empty on NeedsSetup).
struct LoadedNetwork {
    LoadResult result = LoadResult::NeedsSetup;
    std::string intensityTable;
};

// An element image pressed on the canvas. Tags never change, so the tag is kept beside the
// image's place in its list.
struct ElementRef {
    ElementKind kind = ElementKind::Node;
    int index = 0;
    std::string tag;
};

// Where a new element went. left/top are the image position rounded to whole twips (halves to
// even), as the add dialogs store them.
struct Placement {
    std::string tag;
    long long left = 0;
    long long top = 0;
    int index = 0; // index of the new image in its list
};

// The drainage network behind the canvas: three element image lists, the node and the
// connector lines. The canvas only draws it (scene units = twips).
//
// Image lists: index 0 of each element list is a hidden template (never an element) whose
// position is the spawn point of the next new element; elements follow at 1, 2, ... in load or
// creation order. An index is never reused: a deleted element's image stays, hidden. The node
// list holds one image, the node, always visible.
//
// Connectors: connectors()[k] is the k-th drawn line, line k + 1 of a list whose line 0 is a
// hidden template the model does not keep. Lines are ordered Basin list, Channel list, Surface
// list, each by image index, visible images only.
class NetworkModel {
public:
    NetworkModel();

    // Rebuilds the model from the project file on one connection: every element row of every
    // kind (deleted rows as hidden images), then the node row. With no node row the model keeps
    // no elements and NeedsSetup is returned. SelectedElement is cleared in both cases.
    // Database errors throw Error and leave the model as it was.
    LoadedNetwork LoadNetwork(const Workspace& ws);

    // Recomputes every connector from the current image positions.
    void Connect_Basin_Node();

    // True when the kind's add dialog may open; false when it already has 20 live elements
    // (the caller then shows kindInfo(kind).limitMessage titled "Maximum Reached"). Always
    // false for the node, which is never added.
    bool CheckElementLimit(ElementKind kind) const;

    // Creates a visible element image at the template's spawn point and gives it a tag no row of
    // `tagsInTable` and no image of the list carries: the tag word and the new index, else the
    // tag word and the smallest free number above that index. Throws Error for the node.
    Placement PlaceNewElement(ElementKind kind, const std::set<std::string>& tagsInTable);
    // The same, with the tags read from the kind's table of the project (deleted rows included).
    Placement PlaceNewElement(ElementKind kind, const Workspace& ws);

    // Undoes the last PlaceNewElement of `kind` after its row could not be inserted: removes
    // that image and puts the template back. False, and nothing changes, when `index` is not the
    // image that placement created or the image is no longer the last of its list.
    bool CancelPlacement(ElementKind kind, int index);

    // Marks the selected element's row deleted, then hides its image and redraws the
    // connectors. Returns false, touching nothing, when nothing or the node is selected (the
    // node cannot be deleted). Throws Error when the selection names no image of the model, or
    // on a database error; the image then stays visible.
    bool DeleteElement(const Workspace& ws);

    // Shows or hides an element's image (undo and redo of an add or a delete, whose row mark is
    // written by the caller) and redraws the connectors. A hidden image loses its border.
    void SetElementShown(ElementKind kind, int index, bool shown);

    // A press on an image: it becomes SelectedElement and the only bordered image.
    void Select(ElementKind kind, int index);
    // Clears every border, then borders SelectedElement (if any).
    void HighlightSelected();

    // A drag step: moves the image's left edge, then its top edge, and redraws the connectors.
    void MoveImage(ElementKind kind, int index, float left, float top);

    // A release: writes the image's position to the project file (the node's to every node row).
    void WritePosition(const Workspace& ws, ElementKind kind, int index) const;

    // Visible images of the kind (templates and deleted elements excluded; 1 for the node).
    int LiveCount(ElementKind kind) const;

    // The kind's image list, template or node at index 0. Throws Error for an index outside it.
    const std::vector<CanvasImage>& images(ElementKind kind) const;
    const CanvasImage& image(ElementKind kind, int index) const;
    const CanvasImage& node() const { return image(ElementKind::Node, 0); }
    const std::vector<Connector>& connectors() const { return m_connectors; }

    // The element image last pressed (Select); what Delete, Edit Data and the keys act on.
    std::optional<ElementRef> SelectedElement;

private:
    // The template position before the last placement of a kind, for CancelPlacement.
    struct LastPlacement {
        int index;
        float templateLeft, templateTop;
    };

    std::vector<CanvasImage>& list(ElementKind kind);
    CanvasImage& imageAt(ElementKind kind, int index);
    static std::array<std::vector<CanvasImage>, 4> freshLists();

    std::array<std::vector<CanvasImage>, 4> m_lists; // indexed by ElementKind
    std::array<std::optional<LastPlacement>, 4> m_lastPlacement;
    std::vector<Connector> m_connectors;
};

} // namespace pluvane
