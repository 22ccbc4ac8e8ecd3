#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace pluvane {

// A drop-down entry that fills a roughness field: choosing `description` writes `n`, exactly
// this text (trailing zeros kept), into the n field beside the list.
struct RoughnessEntry {
    std::string_view description;
    std::string_view n;
};

// Manning roughness for sheet flow across a sub-basin, in list order; entry 0 is preselected.
inline constexpr std::array<RoughnessEntry, 10> kSheetFlowRoughness{{
    {"Smooth Surfaces (Asphalt, concrete, gravel, bare soil)", "0.011"},
    {"Fallow (With no residue)", "0.05"},
    {"Cultivated soils Cover <= 20%", "0.06"},
    {"Cultivated soils cover >= 20%", "0.17"},
    {"Grass, Short grass, prairie", "0.15"},
    {"Grass, Dense grass", "0.24"},
    {"Grass, Bermudagrass", "0.41"},
    {"Range", "0.13"},
    {"Woods, Light underbrush", "0.40"},
    {"Woods, Dense underbrush", "0.80"},
}};

// Channel lining materials with their Manning n, in list order; entry 0 is preselected.
inline constexpr std::array<RoughnessEntry, 4> kChannelMaterials{{
    {"Concrete Channel", "0.013"},
    {"Brick Channel", "0.015"},
    {"Gravel Channel", "0.029"},
    {"Earth Channel", "0.025"},
}};

// Linings of the outlet conveyance (pipe or channel) with a common design n, in list order;
// entry 0 is preselected.
inline constexpr std::array<RoughnessEntry, 6> kConveyanceMaterials{{
    {"Concrete Pipe", "0.013"},
    {"Smooth Plastic Pipe (PVC, HDPE lined)", "0.011"},
    {"Corrugated Metal Pipe", "0.024"},
    {"Concrete Channel", "0.013"},
    {"Earth Channel", "0.025"},
    {"Grass Channel", "0.035"},
}};

// Surface types of shallow concentrated flow. The texts are compared exactly (case matters),
// both when computing and when a stored type is shown again.
inline constexpr std::string_view kUnpaved = "Unpaved";
inline constexpr std::string_view kPaved = "Paved";
inline constexpr std::array<std::string_view, 2> kSurfaceTypes{kUnpaved, kPaved};

// A land use with the low and high run-off coefficient C, as the texts the dialog shows.
struct LandUse {
    std::string_view name;
    std::string_view minC;
    std::string_view maxC;
};

inline constexpr std::array<LandUse, 16> kLandUses{{
    {"Business: Downtown areas", "0.70", "0.95"},
    {"Business: Neighborhood areas", "0.50", "0.70"},
    {"Residential: Single Family areas", "0.30", "0.50"},
    {"Residential: Multi units, detached", "0.40", "0.60"},
    {"Residential: Multi units, attached", "0.60", "0.75"},
    {"Residential (Suburban)", "0.25", "0.40"},
    {"Apartment dwelling areas", "0.50", "0.70"},
    {"Industrial: Light areas", "0.50", "0.80"},
    {"Industrial: Heavy areas", "0.60", "0.90"},
    {"Parks, cemeteries", "0.10", "0.25"},
    {"Playgrounds", "0.20", "0.35"},
    {"Railroads, yard areas", "0.20", "0.40"},
    {"Unimproved areas", "0.10", "0.30"},
    {"Streets: Asphaltic", "0.70", "0.95"},
    {"Streets: Concrete", "0.80", "0.95"},
    {"Streets: Brick", "0.70", "0.85"},
}};

// The land use selected whenever the run-off coefficient table opens: "Residential (Suburban)".
inline constexpr std::size_t kDefaultLandUse = 5;

// The proposed C of a land use: (Min + Max) / 2, both read with the lenient parse (so a text
// without a number counts as 0), formatted "#0.00". ("0.70", "0.95") gives "0.83".
std::string RunoffCoefficientMean(std::string_view minText, std::string_view maxText);

} // namespace pluvane
