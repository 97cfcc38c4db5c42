#include "app/StartUp.h"
#include "app/GameSystem.h"
#include "platform/Platform.h"

#include "../TempFolder.h"

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
