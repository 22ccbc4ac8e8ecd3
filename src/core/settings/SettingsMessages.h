#pragma once

#include <string>
#include <string_view>

namespace pluvane {

// Every message of the project setup, the node dialog, the rainfall table choice and the
// settings file, in one place, so that the wording can be read and kept consistent. Shown with
// the title "Error".

// The setup dialog and the node dialog when IsComplete fails.
inline constexpr std::string_view kFillBasinInformation = "Please Fill in Basin Information Fields";
inline constexpr std::string_view kFillAllNodeFields = "Please fill all fields";

// Choosing the project's rainfall table.
inline constexpr std::string_view kChooseRainfallTable =
    "Please choose a rainfall table; the project's table was not changed.";
inline std::string NoLocationsMessage(std::string_view intensityDbPath) {
    return "The rainfall intensity database \"" + std::string(intensityDbPath) +
           "\" holds no locations, so there is no table to choose. Add a location in the "
           "rainfall intensity table editor first.";
}

// The project's minimum Tc (Project Setup, `pluvane-cli set ... min-tc`).
inline std::string MinimumTcNotANumberMessage(std::string_view text) {
    return "The minimum Tc must be a number of minutes above 0, or \"none\"; \"" +
           std::string(text) + "\" is neither.";
}

// The settings file holds one "name=value" per line.
inline constexpr std::string_view kSettingNotStorable =
    "A setting cannot hold line breaks, and its name cannot hold \"=\".";

} // namespace pluvane
