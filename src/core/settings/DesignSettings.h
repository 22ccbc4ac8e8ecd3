#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pluvane {

struct Workspace;

// Design choices of a project that are not element data: today the minimum Tc, which many
// agencies require (the solve uses it when the total Tc is shorter). Kept as the single row of a
// table of its own, which older files lack: they read as no minimum.
inline constexpr std::string_view kDesignSettingsTable = "TblDesignSettings";

// The minimum Tc offered in Project Setup besides "none", in minutes; any value above 0 may be
// typed.
inline constexpr double kOfferedMinimumTc[] = {5.0, 6.0, 10.0};

// The stored minimum Tc in minutes; nullopt when none is set (or the file has no table for it).
// A stored text that is not a number above 0 reads as none.
std::optional<double> LoadMinimumTc(const Workspace& ws);

// Writes the minimum Tc (nullopt: none), creating the table when the file lacks it, in one
// transaction.
void SaveMinimumTc(const Workspace& ws, std::optional<double> minutes);

// "none" (any case, or an empty text) -> nullopt; a plain number above 0 -> its value. Throws
// Error with MinimumTcNotANumberMessage otherwise.
std::optional<double> ParseMinimumTc(std::string_view text);

// "none" or the number as plain text ("10", "7.5").
std::string MinimumTcText(std::optional<double> minutes);

} // namespace pluvane
