#pragma once

#include "core/elements/ElementRecords.h"
#include "core/review/ReviewChecks.h"
#include "core/solve/SolveInputs.h"
#include "core/store/IntensityDb.h"

#include <optional>
#include <string>
#include <vector>

namespace pluvane {

struct Workspace;

// What the project checks look at: the solve's own inputs (the live element rows in insertion
// order and the totals the engine takes) and the project's rainfall location.
struct ReviewInputs {
    std::string projectName;
    SolveInputs solve;
    std::string location;                          // the node's rainfall location ("" when none)
    std::optional<std::vector<IntensityRow>> rows; // its table; nullopt when it cannot be read
    std::string provenance;                // where its values come from ("" when not recorded)
    std::optional<double> twoYearRainfall; // P2 (in) of the table; nullopt when unknown
};

// The inputs of the project ws.ProjectPath: its solve inputs for every kind with live rows
// (the solve flags are probed on a copy; ws is left as it is), its name and its rainfall. The
// rainfall location is the node's, else ws.CurrentIntensityTable. Throws Error when the project
// cannot be read; a missing or broken rainfall table only leaves `rows` empty (the solve
// reports that itself).
ReviewInputs CollectReviewInputs(const Workspace& ws);
// The same around solve inputs collected already (CollectSolveInputs).
ReviewInputs CollectReviewInputs(const Workspace& ws, SolveInputs solve);

// Every finding about the inputs: element by element in the order basins, surfaces, channels,
// then the project's totals, then its rainfall.
std::vector<Finding> ReviewInputsOf(const ReviewInputs& inputs);

// The review of a project: CollectReviewInputs then ReviewInputsOf.
std::vector<Finding> ReviewProject(const Workspace& ws);
// The review of solve inputs collected already, e.g. by a solve that also wants its notes.
std::vector<Finding> ReviewSolveInputs(const Workspace& ws, const SolveInputs& inputs);

} // namespace pluvane
