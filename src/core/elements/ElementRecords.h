#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pluvane {

struct Workspace;

// The rows of the three element tables as the dialogs see them: every value is the text of a
// field, stored and read back exactly as typed. The tag, the canvas position and the deletion
// flag are kept apart, since the dialogs never edit them.

// A row of TblBasinInfo (overland flow).
struct BasinFields {
    std::string name;         // BasinName
    std::string area;         // Area, acres
    std::string soilType;     // SoilType, the land use behind C
    std::string c;            // CVal, run-off coefficient
    std::string slope;        // Slope, ft/ft
    std::string travelLength; // TravelLength, ft
    std::string nType;        // BasinNType, surface description of n
    std::string n;            // BasinN
    std::string tc;           // Tc, minutes
    bool operator==(const BasinFields&) const = default;
};

// A row of TblSurfaceInfo (shallow concentrated flow).
struct SurfaceFields {
    std::string name;     // SurfName
    std::string slope;    // SurfSlope, ft/ft
    std::string length;   // SurfLength, ft
    std::string velocity; // SurfVelocity, ft/s
    std::string type;     // SurfType, "Unpaved" or "Paved"
    std::string tc;       // SurfTc, minutes
    bool operator==(const SurfaceFields&) const = default;
};

// A row of TblChannelInfo (channel flow).
struct ChannelFields {
    std::string name;            // ChannelName
    std::string area;            // ChannelArea, sq ft
    std::string wettedPerimeter; // ChannelWP, ft
    std::string slope;           // ChannelSlope, ft/ft
    std::string length;          // ChannelLength, ft
    std::string material;        // ChannelMaterial, lining description of n
    std::string n;               // ChannelN
    std::string velocity;        // ChannelVelocity, ft/s
    std::string tc;              // ChannelTc, minutes
    bool operator==(const ChannelFields&) const = default;
};

// Each operation below opens the project file (ws.ProjectPath), does its work and closes it
// again; database failures throw pluvane::Error.
//
// Insert* adds a live element (Deleted "False") at the canvas position left, top (twips, stored
// as plain integer texts). Throws, writing nothing, when a row with the tag exists already.
// Update* rewrites the dialog's columns of the row with the tag, leaving position and deletion
// flag alone; false when no row has the tag (nothing is written then).
// Load* reads the row with the tag; nullopt when there is none. A NULL column reads "".

void InsertBasin(const Workspace& ws, const std::string& tag, long long left, long long top,
                 const BasinFields& fields);
bool UpdateBasin(const Workspace& ws, const std::string& tag, const BasinFields& fields);
std::optional<BasinFields> LoadBasin(const Workspace& ws, const std::string& tag);

void InsertSurface(const Workspace& ws, const std::string& tag, long long left, long long top,
                   const SurfaceFields& fields);
bool UpdateSurface(const Workspace& ws, const std::string& tag, const SurfaceFields& fields);
std::optional<SurfaceFields> LoadSurface(const Workspace& ws, const std::string& tag);

void InsertChannel(const Workspace& ws, const std::string& tag, long long left, long long top,
                   const ChannelFields& fields);
bool UpdateChannel(const Workspace& ws, const std::string& tag, const ChannelFields& fields);
std::optional<ChannelFields> LoadChannel(const Workspace& ws, const std::string& tag);

// A live row (Deleted = 'False') of an element table: its tag and its fields.
template <class Fields>
struct LiveElement {
    std::string tag;
    Fields fields;
};

// LoadLive* reads every live row of a kind in insertion (rowid) order. A column the table
// lacks, like a NULL, reads "", so a file written by another tool still loads.
std::vector<LiveElement<BasinFields>> LoadLiveBasins(const Workspace& ws);
std::vector<LiveElement<SurfaceFields>> LoadLiveSurfaces(const Workspace& ws);
std::vector<LiveElement<ChannelFields>> LoadLiveChannels(const Workspace& ws);

} // namespace pluvane
