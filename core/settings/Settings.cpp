#include "core/settings/Settings.h"

#include "core/base/FileAccess.h"
#include "core/lang/LanguageChoice.h"
#include "core/stage/FileLocations.h"
#include "core/stage/TextFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace {
// Six short lines; anything far larger is not the game's settings file.
constexpr std::size_t MaxSettingsBytes = 4096;

bool parseNumber(std::string_view value, int low, int high, int& out) {
    int n = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (error != std::errc() || end != value.data() + value.size() || n < low || n > high) return false;
    out = n;
    return true;
}

// Sets the named field from `value`; false when the value is out of its range.
bool applyValue(Settings& settings, std::string_view name, std::string_view value) {
    if (name == "music") return parseNumber(value, 0, Settings::MaxVolume, settings.musicVolume);
    if (name == "sound") return parseNumber(value, 0, Settings::MaxVolume, settings.soundVolume);
    if (name == "fullscreen") {
        int on = 0;
        if (!parseNumber(value, 0, 1, on)) return false;
        settings.fullScreen = on == 1;
        return true;
    }
    if (name == "online") {
        int on = 0;
        if (!parseNumber(value, 0, 1, on)) return false;
        settings.onlineRecords = on == 1;
        return true;
    }
    if (name == "server") {
        if (!online::isServerAddress(value)) return false;
        settings.serverAddress = std::string(value);
        return true;
    }
    if (name == "language") {
        // Only a language the game has, as the command line takes: any other is damage.
        const std::vector<std::string> languages = gameLanguages();
        if (!value.empty() && std::find(languages.begin(), languages.end(), value) == languages.end())
            return false;
        settings.language = std::string(value);
    }
    return true;
}
} // namespace

void stepSetting(Settings& settings, SettingRow row, int step, bool wrap,
                 const std::vector<std::string>& languages) {
    const auto move = [&](int value, int count, bool around) {
        return around ? ((value + step) % count + count) % count : std::clamp(value + step, 0, count - 1);
    };
    switch (row) {
    case SettingRow::Music:
        settings.musicVolume = move(settings.musicVolume, Settings::MaxVolume + 1, wrap);
        break;
    case SettingRow::Sound:
        settings.soundVolume = move(settings.soundVolume, Settings::MaxVolume + 1, wrap);
        break;
    case SettingRow::FullScreen:
        settings.fullScreen = !settings.fullScreen;
        break;
    case SettingRow::Language: {
        const auto found = std::find(languages.begin(), languages.end(), settings.language);
        const int at = found == languages.end() ? 0 : int(found - languages.begin()) + 1;
        const int next = move(at, int(languages.size()) + 1, true);
        settings.language = next == 0 ? std::string() : languages[std::size_t(next - 1)];
        break;
    }
    case SettingRow::Online:
        settings.onlineRecords = !settings.onlineRecords;
        break;
    case SettingRow::Server:
        break;
    }
}

std::string formatSettings(const Settings& settings) {
    return "music=" + std::to_string(settings.musicVolume) +
           "\nsound=" + std::to_string(settings.soundVolume) +
           "\nfullscreen=" + (settings.fullScreen ? "1" : "0") + "\nlanguage=" + settings.language +
           "\nonline=" + (settings.onlineRecords ? "1" : "0") + "\nserver=" + settings.serverAddress + "\n";
}

std::optional<Settings> parseSettings(std::string_view text, std::string& problem) {
    Settings settings;
    problem.clear();
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1); // edited on another system
        if (line.empty()) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos ||
            !applyValue(settings, line.substr(0, equals), line.substr(equals + 1))) {
            problem = "line " + std::to_string(lineNumber) + " is not a setting";
            return std::nullopt;
        }
    }
    return settings;
}

std::string settingsPath() {
    return workingFolderPath() + "settings";
}

Settings loadSettings(const std::string& path) {
    if (!pathExists(path)) return {};
    std::error_code error;
    const std::optional<std::string> text = readTextFile(path, MaxSettingsBytes, &error);
    std::string problem = error ? error.message() : std::string();
    if (text)
        if (auto settings = parseSettings(*text, problem)) return *settings;
    std::fprintf(stderr, "twirlstick: %s: %s; the settings are back to their defaults\n", path.c_str(),
                 problem.c_str());
    return {};
}

bool saveSettings(const std::string& path, const Settings& settings) {
    std::error_code error;
    if (writeFileAtomically(path, formatSettings(settings), &error)) return true;
    std::fprintf(stderr, "twirlstick: cannot keep the settings in %s: %s\n", path.c_str(),
                 error.message().c_str());
    return false;
}

Settings mergeSettingChanges(const Settings& onFile, const Settings& before, const Settings& after) {
    Settings merged = onFile;
    if (after.musicVolume != before.musicVolume) merged.musicVolume = after.musicVolume;
    if (after.soundVolume != before.soundVolume) merged.soundVolume = after.soundVolume;
    if (after.fullScreen != before.fullScreen) merged.fullScreen = after.fullScreen;
    if (after.language != before.language) merged.language = after.language;
    if (after.onlineRecords != before.onlineRecords) merged.onlineRecords = after.onlineRecords;
    if (after.serverAddress != before.serverAddress) merged.serverAddress = after.serverAddress;
    return merged;
}

bool saveSettingChanges(const std::string& path, const Settings& before, const Settings& after) {
    if (after == before) return true;
    return saveSettings(path, mergeSettingChanges(loadSettings(path), before, after));
}
