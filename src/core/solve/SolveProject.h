#pragma once

#include "core/hydraulics/OutletConveyance.h"
#include "core/settings/ProjectSettings.h"
#include "core/solve/SolveEngine.h"
#include "core/solve/SolveInputs.h"
#include "core/store/IntensityDb.h"

#include <map>
#include <optional>
#include <string>

namespace pluvane {

struct Workspace;

// Rainfall locations read before a run of solves (a batch reads each location once and its
// workers only read the copy). A location not among them is read from the database.
class RainfallSnapshot {
public:
    // Every listed location that can be read; one that cannot is left out, so that its solve
    // reads the database and says what is wrong.
    static RainfallSnapshot Read(const Workspace& data);
    const Rainfall* find(const std::string& name) const;

private:
    std::map<std::string, Rainfall> m_byName; // ASCII lower case, as SQLite matches table names
};

// The area, run-off coefficient and Tc given as numbers rather than drawn as elements.
struct LumpedValues {
    double area = 0.0; // acres
    double c = 0.0;
    double tc = 0.0; // minutes
};

// What a solve may do besides the usual.
struct SolveOptions {
    // Tables read beforehand; null reads the rainfall database.
    const RainfallSnapshot* rainfall = nullptr;
    // False for a review that must write nothing: the engine runs, TblResults stays as it was.
    bool storeResults = true;
    // The solve of given values instead of the project's elements (`peak --project`).
    std::optional<LumpedValues> given;
    // Another location than the one the project records.
    std::optional<std::string> location;
};

// One solve of a project, everything it read and what came of it. Front ends print, render and
// review from this value; none of them reads the project again.
struct ProjectSolve {
    ProjectFields project;          // the last project row; empty fields when there is none
    std::optional<NodeFields> node; // the first node row
    std::optional<ConveyanceFields> conveyance; // the outlet conveyance, when there is one
    // The peak flow the file holds for the conveyance's design period once the solve is done:
    // this solve's when it stored its results, else the last stored one.
    std::optional<double> storedDesignFlow;
    std::string location;             // the location solved with, as recorded (or given)
    std::optional<Rainfall> rainfall; // its table; nullopt when it could not be read
    SolveInputs inputs;               // the live elements, their totals (or the given values)
    std::optional<double> minimumTc;  // the project's minimum Tc (minutes), when it sets one
    double tcUsed = 0.0; // the Tc the intensities were read at: the total, or the minimum
    std::optional<SolveResult> result;
    std::string failure; // the user-readable reason the engine did not run or store

    // No live element of any kind, and no given values: there is nothing to solve.
    bool nothingToSolve = false;
    bool solved() const { return result.has_value(); }
};

// The one solve of a project: under a single transaction on one connection to ws.ProjectPath,
// it reads the node, the project row and the live elements, takes the location's rainfall
// (from the snapshot or the database), runs the engine and, unless told not to, stores the
// single row of TblResults. A failure of the engine or the store is kept in `failure` and
// nothing is stored. Throws Error only when the project itself cannot be opened or read.
ProjectSolve SolveProject(const Workspace& ws, const SolveOptions& options = {});

// A solve of given values at `location`, stored in the project's TblResults. Throws Error with
// the reason when it cannot run or be stored.
SolveResult ComputeResults(const Workspace& ws, const std::string& location, double A, double C,
                           double Tc);

} // namespace pluvane
