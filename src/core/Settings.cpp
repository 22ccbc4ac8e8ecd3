#include "core/Settings.h"

#include "core/Error.h"
#include "core/io/AtomicFile.h"
#include "core/platform/Platform.h"
#include "core/settings/SettingsMessages.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace pluvane {

namespace fs = std::filesystem;

std::string Settings::defaultPath() {
    return platform::PathToUtf8(platform::PathFromUtf8(platform::SettingsFolder()) /
                                "pluvane.conf");
}

Settings Settings::load(const std::string& path) {
    Settings settings;
    settings.m_path = path;
    std::ifstream in(platform::PathFromUtf8(path), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            settings.m_values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return settings;
}

std::optional<std::string> Settings::value(const std::string& key) const {
    const auto it = m_values.find(key);
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

void Settings::setValue(const std::string& key, const std::string& value) {
    if (key.empty() || key.find_first_of("=\n\r") != std::string::npos ||
        value.find_first_of("\n\r") != std::string::npos)
        throw Error(std::string(kSettingNotStorable));
    m_values[key] = value;
}

void Settings::save() const {
    std::error_code ec;
    fs::create_directories(platform::PathFromUtf8(m_path).parent_path(), ec);
    std::string text;
    for (const auto& [key, value] : m_values)
        text += key + '=' + value + '\n';
    WriteFileAtomically(m_path, text, "The settings file");
}

std::optional<std::string> ReadInstallPathSetting(const Settings& settings) {
    return settings.value("InstallPath");
}

namespace {
constexpr const char* kReportRainfallSource = "ReportRainfallSource";
constexpr const char* kReportReviewNotes = "ReportReviewNotes";
constexpr const char* kReportDesignBasis = "ReportDesignBasis";
} // namespace

bool ReportRainfallSourceEnabled(const Settings& settings) {
    return settings.value(kReportRainfallSource) == "1";
}

void SetReportRainfallSource(Settings& settings, bool on) {
    settings.setValue(kReportRainfallSource, on ? "1" : "0");
}

bool ReportDesignBasisEnabled(const Settings& settings) {
    return settings.value(kReportDesignBasis) != "0";
}

bool ReportReviewNotesEnabled(const Settings& settings) {
    return settings.value(kReportReviewNotes) == "1";
}

void SetReportReviewNotes(Settings& settings, bool on) {
    settings.setValue(kReportReviewNotes, on ? "1" : "0");
}

std::string EncodeSettingList(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        if (item.empty())
            continue;
        if (!text.empty())
            text += '|';
        for (const char c : item) {
            switch (c) {
            case '\\':
                text += "\\\\";
                break;
            case '|':
                text += "\\|";
                break;
            case '\n':
                text += "\\n";
                break;
            case '\r':
                text += "\\r";
                break;
            default:
                text += c;
            }
        }
    }
    return text;
}

std::vector<std::string> DecodeSettingList(const std::string& text) {
    std::vector<std::string> items;
    std::string item;
    const auto finish = [&] {
        if (!item.empty())
            items.push_back(item);
        item.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '|') {
            finish();
        } else if (c == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            item += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            item += c; // a lone backslash at the end is kept as typed
        }
    }
    finish();
    return items;
}

namespace {
constexpr const char* kRecentProjects = "RecentProjects";
constexpr const char* kLastFolder = "LastFolder";
} // namespace

std::vector<std::string> RecentProjects(const Settings& settings) {
    std::vector<std::string> recent =
        DecodeSettingList(settings.value(kRecentProjects).value_or(""));
    if (recent.size() > kRecentProjectLimit)
        recent.resize(kRecentProjectLimit);
    return recent;
}

void AddRecentProject(Settings& settings, const std::string& path) {
    std::vector<std::string> recent = RecentProjects(settings);
    recent.erase(std::remove(recent.begin(), recent.end(), path), recent.end());
    recent.insert(recent.begin(), path);
    if (recent.size() > kRecentProjectLimit)
        recent.resize(kRecentProjectLimit);
    settings.setValue(kRecentProjects, EncodeSettingList(recent));
}

void RemoveRecentProject(Settings& settings, const std::string& path) {
    std::vector<std::string> recent = RecentProjects(settings);
    recent.erase(std::remove(recent.begin(), recent.end(), path), recent.end());
    settings.setValue(kRecentProjects, EncodeSettingList(recent));
}

std::optional<std::string> LastFolder(const Settings& settings) {
    const std::vector<std::string> folder =
        DecodeSettingList(settings.value(kLastFolder).value_or(""));
    if (folder.empty())
        return std::nullopt;
    return folder.front();
}

void SetLastFolder(Settings& settings, const std::string& folder) {
    settings.setValue(kLastFolder, EncodeSettingList({folder}));
}

} // namespace pluvane
