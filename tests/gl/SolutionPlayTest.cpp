// Every shipped solution played through the play scene itself, one scripted input turn per
// frame, must clear on the frame the stage tool's verify names: the scene and the tool share
// the attempt loop, and this catches any drift between them. A pause and a question box on the
// way must not move that frame.
#include "tests/gl/GlTestSupport.h"
#include "tests/support/FakeClock.h"

#include "core/stage/FileLocations.h"
#include "core/stage/TextFile.h"
#include "tests/support/Synthetic.h"
#include "ui/app/MainHandler.h"
#include "ui/screens/SceneGameMain.h"
#include "ui/sound/Sound.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {
std::string solutionPath(int stage) {
    return std::string(DATA_DIR) + "/solutions/stage" + std::to_string(stage) + ".rep";
}

// What `twirlstick-stage verify` prints for the shipped stage and its solution.
std::string verifyWithTheTool(int stage) {
    const std::string command = std::string(STAGE_TOOL) + " verify " + std::string(DATA_DIR) + "/stage" +
                                std::to_string(stage) + " " + solutionPath(stage);
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return "cannot run " + command;
    std::string out;
    char buf[128];
    while (std::fgets(buf, sizeof buf, pipe.get()))
        out += buf;
    return out;
}

// One input turn as the poll would leave it: right held for fast, a fresh left press to switch.
void scriptedTurn(InputFlags flags) {
    MouseState& m = TheGameSystem->mouseState;
    m.previousDown[MouseLeft] = false;
    m.down[MouseLeft] = flags.switchPivot;
    m.previousDown[MouseRight] = m.down[MouseRight];
    m.down[MouseRight] = flags.fast;
}

// A pause as a player makes one: P, clicks, the right button and a lost focus while paused, then
// P again, typed in the turn of the next frame of play. None of it may reach the attempt.
void pauseHalfway(SceneGameMain& game) {
    KeyState& keys = TheGameSystem->keyState;
    const int remaining = game.Play().remaining();
    for (int i = 0; i < 40; ++i) {
        keys.presses.clear();
        if (i == 0) keys.presses.push_back({platform::Key::P, false, false});
        TheGameSystem->pauseRequested = i == 20;
        scriptedTurn({i % 2 == 0, i % 3 == 0});
        game.Update();
    }
    TheGameSystem->pauseRequested = false;
    EXPECT_TRUE(game.Play().paused());
    EXPECT_TRUE(soundCounts().paused);
    EXPECT_EQ(game.Play().remaining(), remaining);
    keys.presses = {{platform::Key::P, false, false}};
}

// The quit question opened mid-route and answered Cancel six seconds later: play pauses as P
// pauses it, and the frame timer does not make up the six seconds with frames nobody saw.
void quitQuestionHalfway(MainHandler& handler, SceneGameMain& game) {
    const int remaining = game.Play().remaining();
    handler.Frame(); // the timer runs on time before the box
    EXPECT_EQ(game.Play().remaining(), remaining - 1);
    FakeClock::advance(6000);
    platform::pushKeyPress(platform::Key::Escape);
    platform::Event close;
    close.kind = platform::EventKind::CloseRequest;
    TheGameSystem->window->HandleEvent(close);
    ASSERT_FALSE(TheGameSystem->QuitRequested);
    EXPECT_TRUE(handler.master.FrameTimer().IsOnTime());
    for (int i = 0; i < 3; ++i)
        handler.Frame();
    EXPECT_TRUE(game.Play().paused());
    EXPECT_EQ(game.Play().remaining(), remaining - 1);
    TheGameSystem->keyState.presses = {{platform::Key::P, false, false}};
}

class SolutionPlay : public ::testing::TestWithParam<int> {};
} // namespace

TEST_P(SolutionPlay, ThePlaySceneClearsOnTheFrameTheStageToolVerifies) {
    const int n = GetParam();
    useFreshWorkingFolder();
    FakeClock clock;
    MainHandler handler(clock.clock());
    TheGameSystem->handler = &handler;
    SceneMaster& master = handler.master;
    master.PopScene(); // the opening screen
    GameSession& session = master.Session();
    session.stageNumber = n - 1;
    auto* game =
        pushOnto<SceneGameMain>(master, &master, session, stageFileName(session.stageNumber), std::nullopt);

    InputRecord solution;
    solution.load(solutionPath(n), INT32_MAX);
    ASSERT_GT(solution.total(), 0);
    inputTurn();
    inputTurn(true); // the start click
    game->Update();
    for (int i = 0; i < PlaySession::CountdownFrames; ++i) {
        inputTurn();
        game->Update();
    }
    ASSERT_EQ(game->Play().state(), GameState::Playing);
    int frames = 0;
    while (solution.hasFramesLeft() && game->Play().state() == GameState::Playing) {
        if (frames == solution.total() / 2) pauseHalfway(*game);
        InputFlags flags = solution.readNext();
        if (frames == solution.total() / 3) {
            scriptedTurn(flags); // its frame is played through the handler, as the game plays it
            quitQuestionHalfway(handler, *game);
            ++frames;
            flags = solution.readNext();
        }
        scriptedTurn(flags);
        game->Update();
        TheGameSystem->keyState.presses.clear();
        EXPECT_FALSE(game->Play().paused());
        ++frames;
    }
    TheGameSystem->handler = nullptr;
    EXPECT_FALSE(soundCounts().paused);
    EXPECT_EQ(game->Play().state(), GameState::Result);
    EXPECT_TRUE(game->Play().cleared());
    EXPECT_EQ(verifyWithTheTool(n), "clear " + std::to_string(frames) + "\n");
    // The best run the scene stored is the solution itself, byte for byte.
    EXPECT_EQ(readTextFile(replayFileName(session.stageNumber), 1 << 20),
              readTextFile(solutionPath(n), 1 << 20));
}

INSTANTIATE_TEST_SUITE_P(AllTen, SolutionPlay, ::testing::Range(1, 11));
