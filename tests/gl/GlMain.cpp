// The GL tests share one GameSystem: one hidden window with its context, made when the tests
// run (not when they are listed, so the build needs no display). Before each test it is put back
// as the first test found it, so no test depends on what an earlier one left in it.
#include "tests/gl/GlTestSupport.h"

#include "core/stage/FileLocations.h"
#include "tests/support/Synthetic.h"
#include "ui/app/StartUp.h"
#include "ui/platform/Platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

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
        startSettings_ = system_->settings;
    }
    void TearDown() override {
        TheGameSystem = nullptr;
        system_.reset();
        platform::shutdownSystems();
        std::error_code ec;
        std::filesystem::remove_all(scratch, ec);
    }

    // Windowed at 800 x 600 under the full surface limit; no input held or waiting to be taken,
    // no pause or quit asked for, no handler, the settings the game started with.
    void Restore() {
        GameSystem& s = *system_;
        s.window->LimitSurface(MaxSurfaceSide);
        s.window->SetFullScreen(false);
        int w = 0, h = 0;
        platform::drawableSize(w, h);
        if (w != ViewWidth || h != ViewHeight) {
            platform::resizeWindowPastItsLimit(ViewWidth, ViewHeight);
            for (int i = 0; i < 300 && (platform::drawableSize(w, h), w != ViewWidth || h != ViewHeight);
                 ++i) {
                for (platform::Event e; platform::pollEvent(e);)
                    s.window->HandleEvent(e);
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
        // What an earlier test left waiting is no input of this one; the window's size is.
        for (platform::Event e; platform::pollEvent(e);)
            if (e.kind == platform::EventKind::Resized) s.window->HandleEvent(e);
        s.window->ApplyViewport();
        platform::releaseLatchedInput();
        s.keyState = {};
        s.mouseState = {};
        s.pendingChords.clear();
        s.pendingPresses.clear();
        s.pendingDrops.clear();
        s.wheelAccumulator = 0;
        std::fill(std::begin(s.staleButtons), std::end(s.staleButtons), false);
        s.pauseRequested = false;
        s.QuitRequested = false;
        s.handler = nullptr;
        s.active = true;
        s.settings = startSettings_;
        s.cameraStack.ResetView();
    }

private:
    std::unique_ptr<GameSystem> system_;
    Settings startSettings_;
};

class RestoreBeforeEachTest : public ::testing::EmptyTestEventListener {
public:
    explicit RestoreBeforeEachTest(GameSystemEnvironment& environment) : environment_(environment) {}
    void OnTestStart(const ::testing::TestInfo&) override { environment_.Restore(); }

private:
    GameSystemEnvironment& environment_;
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
    auto* environment = new GameSystemEnvironment; // the framework owns both
    ::testing::AddGlobalTestEnvironment(environment);
    ::testing::UnitTest::GetInstance()->listeners().Append(new RestoreBeforeEachTest(*environment));
    return RUN_ALL_TESTS();
}
