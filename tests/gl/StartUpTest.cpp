#include "ui/app/StartUp.h"
#include "ui/platform/Platform.h"
#include "ui/system/GameSystem.h"

#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {
// Runs the body in another current folder and comes back, as the other tests expect GAME_DIR.
template <typename Body> void inFolder(const fs::path& folder, Body body) {
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    body();
    fs::current_path(before);
}
} // namespace

TEST(StartUp, TheGameFolderUsesItsOwnFontAndAnInstalledCopyTheSystems) {
    EXPECT_EQ(GameFontPath(), FontPath) << "the build's game folder keeps its copy";
    TempFolder elsewhere;
    inFolder(elsewhere.path(), [] {
        const std::string font = GameFontPath();
        EXPECT_TRUE(fs::path(font).is_absolute()) << font;
        EXPECT_TRUE(fs::is_regular_file(font)) << font;
        EXPECT_EQ(fs::path(font).filename(), "ipagp.ttf");
        const auto missing = FirstMissingDataFile();
        ASSERT_TRUE(missing);
        EXPECT_EQ(*missing, "stage1") << "with the system's font found, the stages are what is missing";
    });
}

TEST(StartUp, AFamilyTheSystemLacksGivesNoFontRatherThanASubstitute) {
    EXPECT_EQ(platform::findFontFile("No Such Family Twirlstick"), "");
    EXPECT_NE(platform::findFontFile(SystemFontFamily), "");
}

TEST(StartUp, TheMissingFileLineNamesTheFileAndWhereItWasLookedFor) {
    DataFolderSearch search{{"/home/p/games"}, true};
    EXPECT_EQ(MissingDataLine("stage5", search),
              "twirlstick: cannot find the data file \"stage5\" in /home/p/games");
    search = {{"/home/p", "/opt/tw/bin", "/opt/tw/share/twirlstick"}, false};
    EXPECT_EQ(MissingDataLine("stage1", search), "twirlstick: cannot find the data file \"stage1\" in "
                                                 "/home/p, /opt/tw/bin or /opt/tw/share/twirlstick");
    EXPECT_NE(MissingDataLine(FontPath, search).find(SystemFontFamily), std::string::npos)
        << "a missing font was looked for among the system's fonts too";
}

TEST(StartUp, AFolderOfEditedStagesIsNotTakenForTheGamesFolder) {
    TempFolder maker;
    maker.write("stage1", "TITLE mine\n");
    inFolder(maker.path(), [&] {
        const DataFolderSearch search = EnterDataFolder();
        EXPECT_GT(search.searched.size(), 1u) << "the search goes on beside the executable";
        EXPECT_FALSE(search.found && fs::current_path() == maker.path());
    });
    fs::create_directory(maker.path() / "IPAfont00203");
    maker.write(FontPath, "font"); // an unpacked game folder, a file short: it is still the game's
    inFolder(maker.path(), [&] {
        const DataFolderSearch search = EnterDataFolder();
        EXPECT_TRUE(search.found);
        EXPECT_EQ(search.searched.size(), 1u);
    });
}

TEST(StartUp, TheSearchEndsInTheFolderThatHoldsTheData) {
    const DataFolderSearch search = EnterDataFolder(); // the tests run in the game folder
    EXPECT_TRUE(search.found);
    ASSERT_EQ(search.searched.size(), 1u);
    EXPECT_EQ(fs::path(search.searched[0]), fs::current_path());
}
