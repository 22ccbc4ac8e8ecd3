#pragma once

#include <map>
#include <optional>
#include <string>

namespace pluvane {

// The program's settings: a small "key=value" text file shared by the desktop program and the
// command line, at $XDG_CONFIG_HOME/pluvane/pluvane.conf (else ~/.config/pluvane/pluvane.conf).
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

// Whether reports carry the "Review Notes" section: the "ReportReviewNotes" setting is "1".
bool ReportReviewNotesEnabled(const Settings& settings);
void SetReportReviewNotes(Settings& settings, bool on);

} // namespace pluvane
