#pragma once

#include "core/report/RichText.h"
#include "core/solve/SolveProject.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pluvane {

// What a reviewer needs to check every peak flow of a solve from the printed page: the three
// values the engine took, how the intensities were found, the frequency factors as used, the
// sheet-flow rainfall, the rainfall's source and the conventions with their references.
struct DesignBasis {
    double totalArea = 0.0; // A, acres
    double averageC = 0.0;  // area-weighted C
    double totalTc = 0.0;   // minutes, the elements' sum
    double tcUsed = 0.0;    // minutes, the Tc the table was read at
    std::optional<double> minimumTc;
    bool minimumApplied = false;
    // "interpolated", "first-duration" or "beyond-table"; "" when the solve did not run.
    std::string intensityMethodCode;
    // How the intensities were found, in words: "interpolated between the 5 min and 10 min
    // rows"; "" when the solve did not run.
    std::string intensityMethod;
    struct Period {
        std::int16_t years = 0;
        double cf = 1.0;
        double cCf = 0.0; // C x Cf as used: capped at 1
        bool capped = false;
        float i = 0.0f, q = 0.0f;
    };
    std::vector<Period> periods; // empty when the solve did not run
    std::optional<double> p2;    // in, the 2-year 24-hour rainfall of the solve's table
    // Each sub-basin's sheet flow against that P2: its name and "computed with this P2",
    // "typed, not computed" or "does not match this P2 (another rainfall?)".
    std::vector<std::pair<std::string, std::string>> basinP2;
};

DesignBasis DescribeDesign(const ProjectSolve& solve);

// The conventions of the computation, one line each with its reference.
const std::vector<std::string>& DesignConventions();

// The report's "Design Basis" section.
void AppendDesignBasis(RichTextWriter& out, const ProjectSolve& solve,
                       const std::string& rainfallLine);

} // namespace pluvane
