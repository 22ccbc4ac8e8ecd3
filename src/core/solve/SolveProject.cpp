#include "core/solve/SolveProject.h"

#include "core/Error.h"
#include "core/Workspace.h"
#include "core/settings/DesignSettings.h"
#include "core/solve/SolveChecks.h"
#include "core/solve/SolveMessages.h"
#include "core/store/ProjectDb.h"
#include "core/text/Text.h"

#include <utility>

namespace pluvane {

RainfallSnapshot RainfallSnapshot::Read(const Workspace& data) {
    RainfallSnapshot snapshot;
    try {
        for (const std::string& name : ListLocations(data)) {
            try {
                Rainfall rainfall = ReadRainfall(data, name);
                if (!rainfall.rows.empty())
                    snapshot.m_byName.emplace(LowerAscii(name), std::move(rainfall));
            } catch (const Error&) {
            }
        }
    } catch (const Error&) {
    }
    return snapshot;
}

const Rainfall* RainfallSnapshot::find(const std::string& name) const {
    const auto it = m_byName.find(LowerAscii(name));
    return it == m_byName.end() ? nullptr : &it->second;
}

namespace {

// The project's rows a solve reads besides its elements, on the solve's connection.
void readProjectRows(Database& db, ProjectSolve& solve) {
    {
        Statement q = db.prepare("SELECT * FROM TblProjectInfo ORDER BY rowid DESC LIMIT 1");
        for (const Record& row : readAll(q))
            solve.project = {row.text("ProjectName"), row.text("JobNumber"),
                             row.text("DesignEngineer"), row.text("ProjectManager"),
                             row.text("DesignDate")};
    }
    Statement q = db.prepare("SELECT * FROM TblNodeInfo ORDER BY rowid LIMIT 1");
    for (const Record& row : readAll(q))
        solve.node = NodeFields{row.text("NodeName"), row.text("IntensityTable")};
}

// The rainfall of the solve: the snapshot's copy, else the database's. Nullopt, with the
// reason in `failure`, when there is none to use.
std::optional<Rainfall> takeRainfall(const Workspace& ws, const SolveOptions& options,
                                     const std::string& location, std::string& failure) {
    if (location.empty()) {
        failure = kNoTableForSolve;
        return std::nullopt;
    }
    if (options.rainfall)
        if (const Rainfall* copy = options.rainfall->find(location))
            return *copy;
    try {
        return ReadRainfall(ws, location);
    } catch (const Error& e) {
        failure = e.what();
        return std::nullopt;
    }
}

// The engine and the store; a refusal of either is the solve's failure, and nothing is kept.
void runEngine(Database& db, Transaction& transaction, const SolveOptions& options,
               const std::string& rainfallFailure, ProjectSolve& solve) {
    try {
        RefuseUnphysicalInputs(solve.inputs); // checked before anything is computed or stored
        if (!solve.rainfall)
            throw Error(rainfallFailure);
        if (solve.rainfall->rows.empty())
            throw Error(TableHasNoRowsMessage(solve.location));
        const SolveInputs& in = solve.inputs;
        SolveResult result = SolveFromRows(solve.rainfall->rows, in.totalArea, in.averageC,
                                           solve.tcUsed, solve.location);
        if (options.storeResults)
            StoreResults(db, result);
        transaction.commit();
        solve.result = std::move(result);
    } catch (const Error& e) {
        solve.failure = e.what();
    }
}

} // namespace

ProjectSolve SolveProject(const Workspace& ws, const SolveOptions& options) {
    // The connection of an enclosing scope (a command that locked and checked the file) serves
    // here too; without one the solve opens its own.
    std::optional<ProjectConnectionScope> ownConnection;
    if (!ProjectConnectionScope::find(ws.ProjectPath))
        ownConnection.emplace(ws, ProjectConnectionScope::Check::InTransaction);
    Database db = OpenProjectDb(ws);
    // One transaction from the first read to the stored results: the solve sees one state of
    // the project, and a writer elsewhere waits rather than slipping in between two reads. The
    // file is checked inside it, which costs no lock of its own.
    Transaction transaction(db, options.storeResults ? Transaction::Kind::Write
                                                     : Transaction::Kind::Read);
    RequireProjectTables(db);

    ProjectSolve solve;
    readProjectRows(db, solve);
    solve.conveyance = LoadOutletConveyance(ws);
    std::optional<std::int16_t> designPeriod;
    if (solve.conveyance) {
        try {
            designPeriod = DesignPeriodOf(*solve.conveyance);
            solve.storedDesignFlow = StoredDesignFlow(ws, *designPeriod);
        } catch (const Error&) {
            // a design period the dialog would not store: no flow to check against
        }
    }
    if (options.given) {
        const LumpedValues& given = *options.given;
        solve.inputs = LumpedSolveInputs(given.area, given.c, given.tc);
    } else {
        solve.inputs = CollectSolveInputs(ws);
        solve.nothingToSolve = solve.inputs.empty();
        solve.minimumTc = LoadMinimumTc(ws);
    }
    // A Tc shorter than the project's minimum reads the intensities at the minimum.
    solve.tcUsed = solve.minimumTc && solve.inputs.totalTc < *solve.minimumTc
                       ? *solve.minimumTc
                       : solve.inputs.totalTc;
    solve.location = options.location ? *options.location
                     : solve.node     ? solve.node->intensityTable
                                      : std::string();
    // Read even when there is nothing to solve: a review still looks at the rainfall.
    std::string rainfallFailure;
    solve.rainfall = takeRainfall(ws, options, solve.location, rainfallFailure);
    if (!solve.nothingToSolve)
        runEngine(db, transaction, options, rainfallFailure, solve);
    if (designPeriod && solve.result && options.storeResults)
        solve.storedDesignFlow = DesignFlowOf(solve.result, *designPeriod);
    return solve;
}

SolveResult ComputeResults(const Workspace& ws, const std::string& location, double A, double C,
                           double Tc) {
    SolveOptions options;
    options.given = LumpedValues{A, C, Tc};
    options.location = location;
    ProjectSolve solve = SolveProject(ws, options);
    if (!solve.result)
        throw Error(solve.failure);
    return *solve.result;
}

} // namespace pluvane
