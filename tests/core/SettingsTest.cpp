#include "core/settings/Settings.h"
#include "core/lang/LanguageChoice.h"
#include "core/stage/FileLocations.h"

#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {
class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_DATA_HOME", data.path().c_str(), 1);
        ASSERT_TRUE(ensureWorkingFolder());
    }
    TempFolder data;
};
} // namespace

TEST_F(SettingsFile, WhatIsSavedIsWhatTheNextStartReads) {
    EXPECT_EQ(loadSettings(settingsPath()), Settings{}); // no file yet: the defaults, quietly
    const Settings chosen{.musicVolume = 0,
                          .soundVolume = 7,
                          .fullScreen = true,
                          .language = "en",
                          .onlineRecords = true,
                          .serverAddress = "https://records.example.org:8443"};
    ASSERT_TRUE(saveSettings(settingsPath(), chosen));
    EXPECT_EQ(settingsPath(), workingFolderPath() + "settings");
    EXPECT_EQ(data.read("TWIRLSTICK_FILES/settings"),
              "music=0\nsound=7\nfullscreen=1\nlanguage=en\nonline=1\n"
              "server=https://records.example.org:8443\n");
    EXPECT_EQ(loadSettings(settingsPath()), chosen);
    EXPECT_FALSE(isGameFileName("settings")); // "reset all" deletes stages and replays, not choices
}

TEST_F(SettingsFile, ALinkStandingThereIsReplacedNotFollowed) {
    data.write("elsewhere", "someone's file");
    ASSERT_EQ(symlink(data.file("elsewhere").c_str(), settingsPath().c_str()), 0);
    EXPECT_EQ(loadSettings(settingsPath()), Settings{});
    Settings quiet;
    quiet.musicVolume = 3;
    ASSERT_TRUE(saveSettings(settingsPath(), quiet));
    EXPECT_EQ(data.read("elsewhere"), "someone's file");
    EXPECT_EQ(loadSettings(settingsPath()).musicVolume, 3);
}

TEST_F(SettingsFile, DamagedOrHostileFilesGiveTheDefaults) {
    const struct {
        const char* text;
        const char* problem; // "" when the text is sound
    } cases[] = {
        {"music=4\r\nsound=2\r\n", ""},         // edited on another system
        {"\nvolume=3\nmusic=4\n\nsound=2", ""}, // a name from a later version
        {"music=4\nsound=2\nfullscreen=2\n", "line 3 is not a setting"},
        {"music=11\nsound=2\n", "line 1 is not a setting"},
        {"music=-1\n", "line 1 is not a setting"},
        {"music=4x\n", "line 1 is not a setting"},
        {"music=99999999999999999999\n", "line 1 is not a setting"},
        {"sound=2\nmusic\n", "line 2 is not a setting"},
        {"language=../../etc\n", "line 1 is not a setting"},
        {"music=4\nlanguage=fr\n", "line 2 is not a setting"}, // no texts for it: refused as --language is
        {"music=4\nserver=file:///etc/passwd\n", "line 2 is not a setting"},
        {"online=2\n", "line 1 is not a setting"},
        {"\x89PNG\r\n\x1a\n", "line 1 is not a setting"},
    };
    for (const auto& c : cases) {
        std::string problem = "unset";
        const auto settings = parseSettings(c.text, problem);
        EXPECT_EQ(problem, c.problem) << c.text;
        if (!*c.problem) {
            ASSERT_TRUE(settings) << c.text;
            EXPECT_EQ(settings->musicVolume, 4);
            EXPECT_EQ(settings->soundVolume, 2);
        }
        data.write("TWIRLSTICK_FILES/settings", c.text);
        EXPECT_EQ(loadSettings(settingsPath()), settings.value_or(Settings{})) << c.text;
    }
    data.write("TWIRLSTICK_FILES/settings", std::string(1 << 20, '\n')); // no settings file is that long
    EXPECT_EQ(loadSettings(settingsPath()), Settings{});
    std::filesystem::remove(settingsPath());
    ASSERT_EQ(mkfifo(settingsPath().c_str(), 0600), 0); // never waited on
    EXPECT_EQ(loadSettings(settingsPath()), Settings{});
}

TEST(GameLanguages, TheGameOwnLanguageThenTheCatalogs) {
    const std::vector<std::string> languages = gameLanguages();
    ASSERT_GE(languages.size(), 2u);
    EXPECT_EQ(languages[0], "ja");
    EXPECT_EQ(languages[1], "en");
}

TEST(SettingsRows, StepThroughTheirValues) {
    const std::vector<std::string> languages = {"ja", "en"};
    Settings s;
    stepSetting(s, SettingRow::Music, +1, false, languages); // already the loudest
    EXPECT_EQ(s.musicVolume, 10);
    stepSetting(s, SettingRow::Music, +1, true, languages); // a click goes on to silence
    EXPECT_EQ(s.musicVolume, 0);
    stepSetting(s, SettingRow::Music, -1, false, languages);
    EXPECT_EQ(s.musicVolume, 0);
    stepSetting(s, SettingRow::Music, -1, true, languages);
    EXPECT_EQ(s.musicVolume, 10);
    stepSetting(s, SettingRow::Sound, -1, false, languages);
    EXPECT_EQ(s.soundVolume, 9);
    stepSetting(s, SettingRow::FullScreen, -1, false, languages);
    EXPECT_TRUE(s.fullScreen);
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) {
        stepSetting(s, SettingRow::Language, +1, false, languages);
        seen.push_back(s.language);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"ja", "en", "", "ja"}));
    s.language = "fr"; // kept by a version with more catalogs
    stepSetting(s, SettingRow::Language, -1, false, languages);
    EXPECT_EQ(s.language, "en");
    EXPECT_EQ(s.musicVolume, 10); // each step moved only its own row
    EXPECT_EQ(s.soundVolume, 9);
}
