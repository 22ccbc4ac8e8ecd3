#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pluvane {

// The program's settings: a small "key=value" text file shared by the desktop program and the
// command line, at $XDG_CONFIG_HOME/pluvane/pluvane.conf (else ~/.config/pluvane/pluvane.conf;
// %APPDATA%\\pluvane\\pluvane.conf on Windows).
// Keys are case-sensitive; a missing or unreadable file reads as no settings.
class Settings {
public:
    static std::string defaultPath();
    static Settings load(const std::string& path = defaultPath());

    std::optional<std::string> value(const std::string& key) const;
    void setValue(const std::string& key, const std::string& value);
    // Writes the file (under a temporary name, then renamed). Throws Error when it cannot.
    void save() const;

private:
    std::string m_path;
    std::map<std::string, std::string> m_values;
};

// The configured install folder, the "InstallPath" setting, when present.
std::optional<std::string> ReadInstallPathSetting(const Settings& settings);

// Whether reports carry the rainfall-source line: the "ReportRainfallSource" setting is "1".
// Off when the setting is missing or holds anything else.
bool ReportRainfallSourceEnabled(const Settings& settings);
// Sets that setting to "1" or "0" in memory; the caller saves the file.
void SetReportRainfallSource(Settings& settings, bool on);

// Whether reports carry the "Design Basis" section: on unless the "ReportDesignBasis" setting
// is "0".
bool ReportDesignBasisEnabled(const Settings& settings);

// Whether reports carry the "Review Notes" section: the "ReportReviewNotes" setting is "1".
bool ReportReviewNotesEnabled(const Settings& settings);
void SetReportReviewNotes(Settings& settings, bool on);

// A list in one setting: the items joined by "|", a backslash escaping a backslash, "|" and
// the line breaks ("\n", "\r") an item may hold, so that any path survives the one-line value.
// Empty items are dropped.
std::string EncodeSettingList(const std::vector<std::string>& items);
std::vector<std::string> DecodeSettingList(const std::string& text);

// The projects opened last, newest first, at most this many: the "RecentProjects" setting.
inline constexpr std::size_t kRecentProjectLimit = 8;
std::vector<std::string> RecentProjects(const Settings& settings);
// Puts `path` first (once), dropping the oldest beyond the limit; in memory.
void AddRecentProject(Settings& settings, const std::string& path);
void RemoveRecentProject(Settings& settings, const std::string& path);

// The folder of the last project chosen in a file dialog: the "LastFolder" setting.
std::optional<std::string> LastFolder(const Settings& settings);
void SetLastFolder(Settings& settings, const std::string& folder);

} // namespace pluvane
