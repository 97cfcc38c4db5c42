// Every shipped solution played through the play scene itself, one scripted input turn per
// frame, must clear on the frame the stage tool's verify names: the scene and the tool share
// the attempt loop, and this catches any drift between them. A pause and a question box on the
// way must not move that frame. With the online records on, stage 1's clear reaches a real
// records server, and another player sees it and races its ghost; a server that turns a publish
// away or answers too late costs the player nothing.
#include "tests/gl/GlTestSupport.h"
#include "tests/support/FakeClock.h"

#include "core/base/FileAccess.h"
#include "core/online/ContentId.h"
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"
#include "core/stage/TextFile.h"
#include "server/RecordsServer.h"
#include "server/Store.h"
#include "tests/TempFolder.h"
#include "tests/support/Synthetic.h"
#include "ui/app/MainHandler.h"
#include "ui/platform/Requests.h"
#include "ui/screens/SceneGameMain.h"
#include "ui/screens/SceneStageSelect.h"
#include "ui/sound/Sound.h"

#include <gtest/gtest.h>

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <future>
#include <memory>
#include <string>
#include <thread>

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

// The start click and the countdown, up to the first frame of play.
void startAttempt(SceneGameMain& game) {
    inputTurn();
    inputTurn(true); // the start click
    game.Update();
    for (int i = 0; i < PlaySession::CountdownFrames; ++i) {
        inputTurn();
        game.Update();
    }
    ASSERT_EQ(game.Play().state(), GameState::Playing);
}

// Frames of `scene` with the network's answers taken in, until `done` (or a generous while: the
// machine is shared, and a wait is no measure of anything).
template <typename Done> bool pumpUntil(Lib::Scene::SceneBase& scene, Done done) {
    for (int i = 0; i < 3000 && !done(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        TheGameSystem->online.Pump(*TheGameSystem->glyphCache);
        inputTurn();
        scene.Update();
    }
    return done();
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
    startAttempt(*game);
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

TEST(OnlineRecords, AClearReachesTheServerAndAnotherPlayerRacesIt) {
    TempFolder folder;
    const std::unique_ptr<Store> store = openStore("sqlite:" + folder.file("records.db"));
    std::string problem;
    ASSERT_TRUE(addShippedStages(*store, DATA_DIR, problem)) << problem;
    RecordsServer server(*store, {});
    int port = 0;
    ASSERT_TRUE(server.bind("127.0.0.1", port));
    std::thread serving([&] { server.run(); });
    Settings online;
    online.onlineRecords = true;
    online.serverAddress = "http://127.0.0.1:" + std::to_string(port);
    std::error_code error;
    const std::string stage1 =
        stageContentId(readRegularFile(std::string(DATA_DIR) + "/stage1", {1 << 16}, error).value_or(""));

    useFreshWorkingFolder();
    TheGameSystem->online.Follow(online);
    FakeClock clock;
    MainHandler handler(clock.clock());
    SceneMaster& master = handler.master;
    master.PopScene(); // the opening screen
    GameSession& session = master.Session();
    session.stageNumber = 0;
    auto* game = pushOnto<SceneGameMain>(master, &master, session, stageFileName(0), std::nullopt);
    InputRecord route;
    route.load(solutionPath(1), INT32_MAX);
    startAttempt(*game);
    platform::pushText("Ann"); // the name, typed in the box the first run sent asks it in
    platform::pushKeyPress(platform::Key::Return);
    while (route.hasFramesLeft() && game->Play().state() == GameState::Playing) {
        scriptedTurn(route.readNext());
        game->Update();
    }
    ASSERT_TRUE(game->Play().cleared());
    online::RecordsClient& ann = *TheGameSystem->online.Records();
    EXPECT_TRUE(pumpUntil(*game, [&] { return ann.Line().status == online::Status::Sent; }))
        << int(ann.Line().status) << " " << ann.Line().detail;
    EXPECT_EQ(ann.Line().number, 1);
    const std::vector<online::RunEntry> top = store->topRuns(stage1, 10);
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0].name, "Ann");
    EXPECT_EQ(top[0].frames, route.total());
    // Ann publishes stage 1 under a title of her own: another stage, which the route clears too.
    Stage own;
    loadStage(std::string(DATA_DIR) + "/stage1", own);
    own.title = u"Ann's first";
    ASSERT_TRUE(saveStage(workingFolderPath() + "stage1", own));
    ASSERT_TRUE(route.save(ownReplayFileName(own)));
    ASSERT_TRUE(TheGameSystem->online.Publish(workingFolderPath() + "stage1", ownReplayFileName(own)));
    EXPECT_TRUE(pumpUntil(*game, [&] { return ann.Line().status == online::Status::Published; }))
        << ann.Line().detail;

    useFreshWorkingFolder(); // another player, on another machine
    TheGameSystem->online.Follow({});
    TheGameSystem->online.Follow(online);
    session = GameSession{};
    auto* select = pushOnto<SceneStageSelect>(master, &master, session);
    EXPECT_TRUE(pumpUntil(*select, [&] {
        return select->RowWorld(0) && select->RowWorld(0)->Text().find(u"Ann") != std::u16string::npos;
    }));
    TheGameSystem->keyState.presses = {{platform::Key::Right, false, false},
                                       {platform::Key::Right, false, false}};
    select->Update(); // to the published stages, where Ann's is listed with her name
    EXPECT_TRUE(pumpUntil(
        *select, [&] { return select->RowName(0) && select->RowName(0)->Text() == u"Ann's first  Ann"; }));
    TheGameSystem->keyState.presses = {{platform::Key::Return, false, false}};
    select->Update(); // downloaded into the working folder, then played as an own stage
    EXPECT_TRUE(pumpUntil(*select, [&] { return session.ownStageFile.starts_with("online-"); }));
    EXPECT_TRUE(pathExists(workingFolderPath() + session.ownStageFile));
    session.ownStageFile.clear();
    session.raceWorld = true;
    auto* race = pushOnto<SceneGameMain>(master, &master, session, stageFileName(0), std::nullopt);
    EXPECT_TRUE(pumpUntil(*race, [&] { return race->Play().worldShown(); }));
    EXPECT_FALSE(race->Play().ghostShown()) << "this player has no best of their own";

    TheGameSystem->online.Follow({});
    server.stop();
    serving.join();
}

TEST(OnlineRecords, ARefusingOrSlowServerCostsThePlayerNothing) {
    httplib::Server server;
    std::atomic<int> publishes = 0, listings = 0;
    server.Post("/api/v1/stages", [&](const httplib::Request&, httplib::Response& res) {
        res.status = publishes++ == 0 ? 503 : 201;
        res.set_content(res.status == 503 ? R"({"error": "busy"})"
                                          : R"({"id": ")" + std::string(32, 'a') + "\"}",
                        "application/json");
    });
    std::promise<void> answer; // the list waits past the client's time-out, and the end of the test
    server.Get("/api/v1/stages", [&, held = answer.get_future().share()](const auto&, auto&) {
        ++listings;
        held.wait();
    });
    Settings online;
    online.onlineRecords = true;
    online.serverAddress = "http://127.0.0.1:" + std::to_string(server.bind_to_any_port("127.0.0.1"));
    std::thread serving([&] { server.listen_after_bind(); });
    useFreshWorkingFolder();
    ASSERT_TRUE(online::saveOnlinePlayer({online.serverAddress, "Ann", std::string(64, 'f')}));
    TheGameSystem->online.Follow(online);
    FakeClock clock;
    MainHandler handler(clock.clock());
    auto* select = pushOnto<SceneStageSelect>(handler.master, &handler.master, handler.master.Session());
    const online::RecordsClient& ann = *TheGameSystem->online.Records();
    for (const online::Status status : {online::Status::PublishRefused, online::Status::Published}) {
        ASSERT_TRUE(TheGameSystem->online.Publish(std::string(DATA_DIR) + "/stage1", solutionPath(1)));
        EXPECT_TRUE(pumpUntil(*select, [&] { return ann.Line().status == status; })) << ann.Line().detail;
    }
    TheGameSystem->keyState.presses = {{platform::Key::Left, false, false}};
    select->Update(); // to the published stages, which the server holds back
    EXPECT_TRUE(pumpUntil(*select, [&] { return ann.Line().status == online::Status::OutOfReach; }));
    EXPECT_TRUE(TheGameSystem->online.StatusShown());
    TheGameSystem->online.Records()->ListStages(0);
    EXPECT_TRUE(pumpUntil(*select, [&] { return listings == 2; }));
    platform::stopRequests(); // as the game ends, with that request still held by the server
    answer.set_value();
    server.stop();
    serving.join();
}
