#pragma once

#include "elements/ElementRecords.h"
#include "review/ReviewChecks.h"
#include "store/IntensityDb.h"

#include <optional>
#include <string>
#include <vector>

namespace pluvane {

struct Workspace;

// A live element row with its tag.
template <class Fields>
struct TaggedRow {
    std::string tag;
    Fields fields;
};

// What the project checks look at, read once: the live element rows in insertion order, as the
// solve reads them, and the project's rainfall location.
struct ReviewInputs {
    std::string projectName;
    std::vector<TaggedRow<BasinFields>> basins;
    std::vector<TaggedRow<SurfaceFields>> surfaces;
    std::vector<TaggedRow<ChannelFields>> channels;
    std::string location;                         // the node's rainfall location ("" when none)
    std::optional<std::vector<IntensityRow>> rows; // its table; nullopt when it cannot be read
    std::string provenance;                       // where its values come from ("" when not recorded)
    std::optional<double> twoYearRainfall;        // P2 (in) of the table; nullopt when unknown
};

// Reads the inputs of the project ws.ProjectPath. The rainfall location is the node's, else
// ws.CurrentIntensityTable. Throws Error when the project cannot be read; a missing or broken
// rainfall table only leaves `rows` empty (the solve reports that itself).
ReviewInputs CollectReviewInputs(const Workspace& ws);

// Every finding about the inputs: element by element in the order basins, surfaces, channels,
// then the project's totals, then its rainfall.
std::vector<Finding> ReviewInputsOf(const ReviewInputs& inputs);

// CollectReviewInputs then ReviewInputsOf.
std::vector<Finding> ReviewProject(const Workspace& ws);

} // namespace pluvane
