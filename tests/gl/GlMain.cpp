// The GL tests share one GameSystem: one hidden window with its context, made when the tests
// run (not when they are listed, so the build needs no display).
#include "tests/gl/GlTestSupport.h"

#include "core/stage/FileLocations.h"
#include "ui/app/StartUp.h"
#include "ui/platform/Platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {
std::filesystem::path scratch;
int scratchCounter = 0;

class GameSystemEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        std::filesystem::current_path(GAME_DIR); // the font and stages, as the game finds them
        std::string pattern = (std::filesystem::temp_directory_path() / "twirlstick-gl-XXXXXX").string();
        scratch = mkdtemp(pattern.data());
        ASSERT_TRUE(platform::initSystems()) << "the GL tests need an X display (xvfb-run)";
        system_ = std::make_unique<GameSystem>(GameFontPath());
        TheGameSystem = system_.get();
        system_->active = true;
    }
    void TearDown() override {
        TheGameSystem = nullptr;
        system_.reset();
        platform::shutdownSystems();
        std::error_code ec;
        std::filesystem::remove_all(scratch, ec);
    }

private:
    std::unique_ptr<GameSystem> system_;
};
} // namespace

void useFreshWorkingFolder() {
    const auto folder = scratch / ("data" + std::to_string(++scratchCounter));
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    ensureWorkingFolder();
}

std::string testDataFolder() {
    const auto folder = scratch / ("stages" + std::to_string(++scratchCounter));
    std::filesystem::create_directories(folder);
    return folder.string() + "/";
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GameSystemEnvironment);
    return RUN_ALL_TESTS();
}
