#pragma once

#include "core/hydraulics/Conveyance.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pluvane {

struct Workspace;
struct SolveResult;

// The project's outlet conveyance: the pipe or channel that carries the design flow away from
// the outlet node. Optional; stored as the single row of its own table, every value the field
// text as typed.

inline constexpr std::string_view kConveyanceTable = "TblOutletConveyance";
inline constexpr std::string_view kKindPipe = "Pipe";
inline constexpr std::string_view kKindChannel = "Channel";
inline constexpr std::string_view kDefaultDesignPeriod = "10";

struct ConveyanceFields {
    std::string kind = std::string(kKindPipe); // ConveyanceKind: "Pipe" or "Channel"
    std::string material;                      // ConveyanceMaterial: the list entry of n
    std::string n;                             // ConveyanceN
    std::string slope;                         // ConveyanceSlope, ft/ft
    bool sizeIt = true;                        // PipeSizeIt, "True"/"False": pick the diameter
    std::string diameter;                      // PipeDiameter, in (used when not sizeIt)
    std::string bottomWidth;                   // ChannelBottom, ft
    std::string sideSlope;                     // ChannelSide, horizontal per vertical
    std::string availableDepth;                // ChannelDepth, ft (optional)
    std::string designPeriod = std::string(kDefaultDesignPeriod); // DesignPeriod, years
    std::string length;                                           // ConveyanceLength, ft (optional)
    bool operator==(const ConveyanceFields&) const = default;
};

// The table's columns in order, as the template creates them.
inline constexpr std::string_view kConveyanceColumns[] = {
    "ConveyanceKind", "ConveyanceMaterial", "ConveyanceN",     "ConveyanceSlope",
    "PipeSizeIt",     "PipeDiameter",       "ChannelBottom",   "ChannelSide",
    "ChannelDepth",   "DesignPeriod",       "ConveyanceLength"};

// The stored row; absent when the file has no conveyance (or no table for one: older files).
std::optional<ConveyanceFields> LoadOutletConveyance(const Workspace& ws);
// Writes the single row, creating the table when the file has none, in one transaction.
void SaveOutletConveyance(const Workspace& ws, const ConveyanceFields& fields);
// Removes the row: the project has no conveyance any more.
void RemoveOutletConveyance(const Workspace& ws);

// The design return period of the fields (one of the seven); throws Error otherwise.
std::int16_t DesignPeriodOf(const ConveyanceFields& fields);
// The last solve's stored peak flow Qpeak_<period> (cfs); absent when the project has not been
// solved (no TblResults row, or an empty value).
std::optional<double> StoredDesignFlow(const Workspace& ws, std::int16_t period);
// The peak flow of a solve for the period; absent without a solve.
std::optional<double> DesignFlowOf(const std::optional<SolveResult>& solve, std::int16_t period);

// What the conveyance gives for a design flow: the pipe or the channel, and the travel time
// when a length is given. `failure` says why nothing was computed (no flow, a bad value);
// then neither result is set.
struct ConveyanceOutcome {
    std::optional<double> designQ;
    std::optional<PipeResult> pipe;
    std::optional<ChannelResult> channel;
    std::optional<double> travelMinutes;
    std::string failure;
    bool noStandardSize = false; // "size it" found no standard diameter that carries the flow
};
ConveyanceOutcome EvaluateConveyance(const ConveyanceFields& fields, std::optional<double> designQ);

// The conveyance at a solve's peak flow for its design period (no flow without a solve, or with
// a design period not one of the seven: `failure` says which). Never throws.
ConveyanceOutcome EvaluateForSolve(const ConveyanceFields& fields,
                                   const std::optional<SolveResult>& solve);

// The results as the report and the dialog show them, label and value: the pipe's diameter,
// full flow, normal depth and velocity, or the channel's normal depth, velocity and capacity,
// then the travel time; a failure is one line "Results".
std::vector<std::pair<std::string, std::string>>
ConveyanceResultLines(const ConveyanceOutcome& outcome);

// The command line's result objects, one line each: pipe {"diameterIn", "sized",
// "fullFlowCfs", "fullVelocityFps", "depthFt", "velocityFps", "percentFull", "overCapacity"},
// channel {"normalDepthFt", "velocityFps", "capacityCfs"} (capacity only with a depth).
std::string PipeResultJson(const PipeResult& pipe);
std::string ChannelResultJson(const ChannelResult& channel);

// The project's conveyance for the solve's --json: {"kind", "designPeriod", "designQCfs",
// "travelMinutes", "failure", then the pipe's or channel's keys}; null when there is none.
std::string ConveyanceJson(const std::optional<ConveyanceFields>& fields,
                           const ConveyanceOutcome& outcome);
// The same for --csv: the header names and one row's cells (empty when absent).
std::vector<std::string> ConveyanceCsvHeader();
std::vector<std::string> ConveyanceCsvCells(const std::optional<ConveyanceFields>& fields,
                                            const ConveyanceOutcome& outcome);

} // namespace pluvane
