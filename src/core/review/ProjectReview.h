#pragma once

#include "core/elements/ElementRecords.h"
#include "core/review/ReviewChecks.h"
#include "core/solve/SolveProject.h"
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

// What the checks look at in a solve that has run (or was refused): nothing is read again.
ReviewInputs CollectReviewInputs(const ProjectSolve& solve);

// Every finding about the inputs: element by element in the order basins, surfaces, channels,
// then the project's totals, then its rainfall.
std::vector<Finding> ReviewInputsOf(const ReviewInputs& inputs);

// The review of a solve: CollectReviewInputs then ReviewInputsOf.
std::vector<Finding> ReviewSolve(const ProjectSolve& solve);

// The review of the project ws.ProjectPath: a solve that stores nothing, then its review.
// Throws Error when the project cannot be read.
std::vector<Finding> ReviewProject(const Workspace& ws);

} // namespace pluvane
