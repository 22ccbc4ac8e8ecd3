#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace pluvane {

// The three element kinds a user draws, and the single outlet node.
enum class ElementKind { Basin, Surface, Channel, Node };

// Design-time geometry of an image list's image 0, in twips.
struct ImageGeometry {
    float left, top, width, height;
};

// Everything the stores and the network model need to know about a kind, in one place.
struct ElementKindInfo {
    ElementKind kind;
    std::string_view tagWord; // "Basin": tags are the word followed by a number
    std::string_view table;   // project table holding the rows
    std::string_view tagColumn;
    std::string_view nameColumn;
    std::string_view leftColumn; // position columns (twips)
    std::string_view topColumn;
    std::string_view imageList;    // canvas image list name
    std::string_view limitMessage; // shown when the kind already has 20 live elements
    ImageGeometry templateGeometry;
    float homeLeft, homeTop; // where a drifted template is sent back to
};

inline constexpr std::array<ElementKindInfo, 4> kElementKinds{{
    {ElementKind::Basin,
     "Basin",
     "TblBasinInfo",
     "BasinTag",
     "BasinName",
     "BasinX",
     "BasinY",
     "ImgBasin",
     "Maximum 20 basins allowed",
     {600, 840, 690, 420},
     480,
     480},
    {ElementKind::Surface,
     "Surface",
     "TblSurfaceInfo",
     "SurfTag",
     "SurfName",
     "SurfX",
     "SurfY",
     "ImgSurface",
     "Maximum 20 Surface Flows allowed",
     {600, 1680, 690, 405},
     600,
     1680},
    {ElementKind::Channel,
     "Channel",
     "TblChannelInfo",
     "ChannelTag",
     "ChannelName",
     "ChannelLeft",
     "ChannelTop",
     "ImgChannel",
     "Maximum 20 Channel Flows allowed",
     {600, 2520, 690, 300},
     480,
     480},
    {ElementKind::Node,
     "",
     "TblNodeInfo",
     "",
     "NodeName",
     "NodeX",
     "NodeY",
     "ImgNode",
     "",
     {5040, 5160, 855, 555},
     5040,
     5160},
}};

constexpr const ElementKindInfo& kindInfo(ElementKind kind) {
    return kElementKinds[static_cast<std::size_t>(kind)];
}

// The three element kinds in the order the loader reads their tables and the connectors are
// drawn: overland, channel, shallow.
inline constexpr std::array<ElementKind, 3> kLoadOrder{ElementKind::Basin, ElementKind::Channel,
                                                       ElementKind::Surface};

// Live elements allowed per kind.
inline constexpr int kElementLimit = 20;

} // namespace pluvane
