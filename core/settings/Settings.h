#pragma once
// What the player chose on the options screen, kept between runs in a small text file in the
// working folder: one "name=value" line each.
#include "core/online/ServerAddress.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct Settings {
    // Volumes go in steps; 0 is silence.
    static constexpr int MaxVolume = 10;

    int musicVolume = MaxVolume;
    int soundVolume = MaxVolume;
    bool fullScreen = false; // the window opens full screen
    std::string language;    // "" follows the environment; else a language the game has
    // The online records: off until the player turns them on (a page reads its server's records
    // anyway; sending runs waits for this there too).
    bool onlineRecords = false;
    std::string serverAddress = online::DefaultServerAddress; // unused in a page: its own origin

    bool operator==(const Settings&) const = default;
};

// The options screen's rows, top to bottom.
enum class SettingRow { Music, Sound, FullScreen, Language, Online, Server };

// Moves one row's value by `step` (+1 or -1); the server's address is typed, not stepped. Volumes stop at
// their ends unless `wrap` (a click steps on from the loudest to silence); the other rows go round. The
// languages offered are
// "" (the environment's) and then `languages`; an unknown one counts as "".
void stepSetting(Settings& settings, SettingRow row, int step, bool wrap,
                 const std::vector<std::string>& languages);

// The file's text for `settings`.
std::string formatSettings(const Settings& settings);

// The settings a file's text holds. Names it does not know are skipped (a later version may add
// some); nullopt, with the reason in `problem`, when a line is not "name=value" or a value is
// out of its range (a language the game has no texts for, too): the file is damaged and none of
// it is trusted.
std::optional<Settings> parseSettings(std::string_view text, std::string& problem);

// The settings file of the working folder.
std::string settingsPath();

// The settings kept in `path`: the defaults when there is no file, and also, after one line on
// stderr, when it cannot be read or is damaged (the next save replaces it).
Settings loadSettings(const std::string& path);

// Replaces the file through a fresh temporary file; false, after one line on stderr, on failure.
bool saveSettings(const std::string& path, const Settings& settings);

// What another copy of the game kept in the file meanwhile, with this copy's changes over it:
// each value that differs between `before` and `after` is `after`'s, every other is `onFile`'s.
Settings mergeSettingChanges(const Settings& onFile, const Settings& before, const Settings& after);

// Writes back only what changed from `before` to `after`, merged over the file as it is now (two
// copies changing different options both keep theirs); nothing is written when nothing changed.
bool saveSettingChanges(const std::string& path, const Settings& before, const Settings& after);
