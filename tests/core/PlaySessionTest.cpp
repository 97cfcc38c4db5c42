#include "core/play/PlaySession.h"
#include "core/game/RecordRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {
constexpr float Degree = 3.14159265f / 180.0f;

// A stage whose bar, left alone, first touches a short chord at radius 40 in play frame `frame`
// (the bar turns 2 degrees a frame from angle 0), with the given time limit.
Stage chordStage(int frame, std::int32_t kind, int timeLimit) {
    Stage s;
    s.timeLimit = timeLimit;
    const float a0 = (2.0f * float(frame) - 1.0f) * Degree, a1 = (2.0f * float(frame) + 1.0f) * Degree;
    s.addSegment(s.addPoint({40 * std::cos(a0), 40 * std::sin(a0)}),
                 s.addPoint({40 * std::cos(a1), 40 * std::sin(a1)}), kind);
    return s;
}

Stage emptyStage(int timeLimit) {
    Stage s;
    s.timeLimit = timeLimit;
    return s;
}

std::unique_ptr<InputRecord> idleRun(int frames) {
    auto run = std::make_unique<InputRecord>();
    for (int i = 0; i < frames; ++i)
        run->append(false, false);
    return run;
}

// The shortest clear that holds the fast button for the first frames and then lets go.
std::unique_ptr<InputRecord> fastClear(const Stage& stage) {
    for (int total = 1; total < 600; ++total) {
        for (int fast = 1; fast <= total; ++fast) {
            auto run = std::make_unique<InputRecord>();
            for (int i = 0; i < total; ++i)
                run->append(i < fast, false);
            if (clearsAsClaimed(stage, *run)) {
                run->rewind();
                return run;
            }
        }
    }
    return nullptr;
}

// Plays one session as a scene would, hearing its sounds and noting where it asks to go.
class Play : public ::testing::Test {
protected:
    void start(Stage stage, std::unique_ptr<InputRecord> best = nullptr,
               std::unique_ptr<InputRecord> way = nullptr) {
        play = std::make_unique<PlaySession>(std::move(stage), run, std::move(best), std::move(way),
                                             [this](const InputRecord& record) {
                                                 kept.push_back(record.total());
                                                 return keeps;
                                             });
        heard.clear();
        exits.clear();
        music.reset();
    }
    void take() {
        const PlayEvents& events = play->events();
        heard.insert(heard.end(), events.effects.begin(), events.effects.end());
        if (events.music == MusicCue::Normal) music = SoundId::bgm;
        if (events.music == MusicCue::Fast) music = SoundId::bgm_fast;
        if (events.music == MusicCue::Stop) music.reset();
        if (events.exit != PlayExit::Stay) exits.push_back(events.exit);
    }
    void frame(PlayInput input = {}) {
        play->update(input);
        take();
    }
    void click() { frame({.leftPressed = true}); }
    void frames(int n) {
        for (int i = 0; i < n; ++i)
            frame();
    }
    void toPlay() {
        click();
        frames(PlaySession::CountdownFrames);
        ASSERT_EQ(play->state(), GameState::Playing);
    }
    void toReplay() {
        frames(PlaySession::ResultFrames + 1);
        ASSERT_EQ(play->state(), GameState::Replay);
    }
    int plays(SoundId id) const { return int(std::count(heard.begin(), heard.end(), id)); }

    GameSession run;
    bool keeps = true;
    std::vector<int> kept; // the frames of each run handed over to be written
    std::unique_ptr<PlaySession> play;
    std::vector<SoundId> heard;
    std::optional<SoundId> music;
    std::vector<PlayExit> exits;
};
} // namespace

TEST_F(Play, CountdownShowsThreeTwoOneThenStarts) {
    start(emptyStage(30));
    EXPECT_EQ(play->message(), ClickToStartMessage);
    EXPECT_FALSE(play->ghostShown());
    click();
    EXPECT_EQ(play->state(), GameState::Countdown);
    EXPECT_EQ(play->message(), ThreeMessage);
    EXPECT_TRUE(play->ghostShown()); // the preview turn, even without a best run
    frames(59);
    EXPECT_EQ(play->message(), ThreeMessage);
    frame();
    EXPECT_EQ(play->message(), TwoMessage);
    frames(60);
    EXPECT_EQ(play->message(), OneMessage);
    EXPECT_EQ(plays(SoundId::countdown), 3);
    frames(60);
    EXPECT_EQ(play->state(), GameState::Playing);
    EXPECT_EQ(play->message(), StartMessage);
    EXPECT_EQ(music, SoundId::bgm);
    EXPECT_EQ(plays(SoundId::start), 1);
    EXPECT_FALSE(play->ghostShown());
    EXPECT_EQ(play->playerBar().pivot(), (Vec2{0, 0})); // the player's bar waits for play
    frames(61);
    EXPECT_EQ(play->message(), NoMessage);
}

// The hurry comes ten seconds before the end and stops the music; the fast music follows a
// second later; a limit too short for either starts at the fast music, or never reaches it.
TEST_F(Play, HurryAndFastMusicFollowTheRemainingFrames) {
    start(emptyStage(30));
    toPlay();
    EXPECT_EQ(play->remaining(), 1800);
    frames(1199);
    EXPECT_EQ(plays(SoundId::hurry), 0);
    frame();
    EXPECT_EQ(plays(SoundId::hurry), 1);
    EXPECT_EQ(music, std::nullopt);
    frames(60);
    EXPECT_EQ(music, SoundId::bgm_fast);

    start(emptyStage(10));
    toPlay();
    frames(60);
    EXPECT_EQ(plays(SoundId::hurry), 0);
    EXPECT_EQ(music, SoundId::bgm_fast);
    start(emptyStage(8));
    toPlay();
    frames(300);
    EXPECT_EQ(plays(SoundId::hurry), 0);
    EXPECT_EQ(music, SoundId::bgm);
    frames(180);
    EXPECT_EQ(play->state(), GameState::Result); // timed out
    EXPECT_EQ(play->message(), TimeUpMessage);
    EXPECT_EQ(music, std::nullopt);
}

TEST_F(Play, ALimitOfNoTimeEndsAtOnce) {
    for (int limit : {0, -5}) {
        start(emptyStage(limit));
        toPlay();
        frame();
        EXPECT_EQ(play->state(), GameState::Result) << limit;
        EXPECT_EQ(play->message(), TimeUpMessage) << limit;
        EXPECT_FALSE(play->cleared()) << limit;
    }
}

TEST_F(Play, ATouchInTheLastFrameBeatsTheTimeOut) {
    start(chordStage(60, GOAL, 1));
    toPlay();
    frames(59);
    EXPECT_EQ(play->state(), GameState::Playing);
    frame();
    EXPECT_EQ(play->remaining(), 0);
    EXPECT_TRUE(play->cleared());
    EXPECT_EQ(play->message(), GoalMessage);

    start(chordStage(60, WALL, 1));
    toPlay();
    frames(60);
    EXPECT_FALSE(play->cleared());
    EXPECT_EQ(play->message(), WallMessage);
    EXPECT_EQ(plays(SoundId::miss), 1);
}

// The best-run decision: a first clear is a silent record, a tie is a record with its sound, a
// slower clear keeps the best, a run that cannot be written is none, and a test play writes none.
TEST_F(Play, ABestRunIsKeptWhenItIsNoSlowerAndCouldBeWritten) {
    start(chordStage(45, GOAL, 30));
    toPlay();
    frames(45);
    ASSERT_TRUE(play->cleared());
    EXPECT_TRUE(play->newRecord());
    EXPECT_EQ(kept, std::vector<int>{45});
    EXPECT_EQ(plays(SoundId::newrecord), 0);
    EXPECT_EQ(plays(SoundId::clear), 1);
    EXPECT_EQ(play->best(), 45);

    start(chordStage(45, GOAL, 30), idleRun(45));
    EXPECT_EQ(play->best(), 45);
    toPlay();
    frames(45);
    EXPECT_TRUE(play->newRecord());
    EXPECT_EQ(plays(SoundId::newrecord), 1);
    EXPECT_EQ(kept.size(), 2u);

    const Stage chord = chordStage(45, GOAL, 30);
    std::unique_ptr<InputRecord> faster = fastClear(chord);
    ASSERT_TRUE(faster);
    const int fastest = faster->total();
    ASSERT_LT(fastest, 45);
    start(chord, std::move(faster));
    toPlay();
    frames(45);
    EXPECT_FALSE(play->newRecord());
    EXPECT_TRUE(play->behindBest());
    EXPECT_EQ(play->best(), fastest);
    EXPECT_EQ(kept.size(), 2u);
    EXPECT_TRUE(play->ghostShown());

    keeps = false;
    start(chordStage(45, GOAL, 30));
    toPlay();
    frames(45);
    EXPECT_TRUE(play->cleared());
    EXPECT_FALSE(play->newRecord());
    EXPECT_EQ(play->best(), -1);

    run.editMode = true;
    start(chordStage(20, GOAL, 30));
    toPlay();
    frames(20);
    EXPECT_TRUE(play->newRecord());
    EXPECT_EQ(kept.size(), 3u); // the failed one was handed over; the test play's was not
}

TEST_F(Play, ClicksDuringTheResultAreIgnoredAndABarIsLost) {
    start(chordStage(20, WALL, 30));
    toPlay();
    frames(20);
    ASSERT_EQ(play->state(), GameState::Result);
    click();
    frame();
    EXPECT_EQ(play->state(), GameState::Result);
    EXPECT_TRUE(exits.empty());
    toReplay();
    click();
    EXPECT_EQ(run.barsLeft, 4);
    EXPECT_EQ(run.barsLostHere, 1);
    EXPECT_EQ(exits, std::vector<PlayExit>{PlayExit::NextAttempt});
}

TEST_F(Play, TheSixthMissEndsTheGameAndLeavesAfterTheFade) {
    run.barsLeft = 0;
    start(chordStage(20, WALL, 30));
    toPlay();
    frames(20);
    toReplay();
    click();
    EXPECT_EQ(play->state(), GameState::GameOver);
    EXPECT_EQ(play->message(), GameOverMessage);
    EXPECT_EQ(plays(SoundId::gameover), 1);
    frames(PlaySession::GameOverFrames);
    EXPECT_TRUE(exits.empty());
    frame();
    EXPECT_EQ(exits, std::vector<PlayExit>{PlayExit::EndRun});
}

// After a clear: the next stage, which forgets the guide; after the tenth, the ending; after an
// own stage or a test play, the end of the run.
TEST_F(Play, AClearLeadsToTheNextStageTheEndingOrTheRunsEnd) {
    run.barsLostHere = 4;
    run.showWay = true;
    start(chordStage(20, GOAL, 30));
    toPlay();
    frames(20);
    toReplay();
    click();
    EXPECT_EQ(run.stageNumber, 1);
    EXPECT_EQ(run.barsLostHere, 0);
    EXPECT_FALSE(run.showWay);
    EXPECT_EQ(exits, std::vector<PlayExit>{PlayExit::NextAttempt});

    run.stageNumber = 9;
    start(chordStage(20, GOAL, 30));
    toPlay();
    frames(20);
    toReplay();
    click();
    EXPECT_EQ(play->state(), GameState::AllClear);
    EXPECT_EQ(play->message(), AllClearMessage);
    frames(PlaySession::AllClearFrames);
    EXPECT_TRUE(exits.empty());
    frame();
    EXPECT_EQ(exits, std::vector<PlayExit>{PlayExit::Back});

    run.ownStageFile = "stage7";
    start(chordStage(20, GOAL, 30));
    toPlay();
    frames(20);
    toReplay();
    click();
    EXPECT_EQ(exits, std::vector<PlayExit>{PlayExit::EndRun});
}

TEST_F(Play, TheReplayRepeatsTheAttemptExactly) {
    start(emptyStage(4));
    toPlay();
    click(); // a switch in the first frame of play
    frame({.rightHeld = true});
    frames(5);
    frame({.leftPressed = true, .rightHeld = true});
    for (int i = 0; i < 300 && play->state() == GameState::Playing; ++i)
        frame();
    ASSERT_EQ(play->state(), GameState::Result);
    const Vec2 endPivot = play->playerBar().pivot();
    const float endAngle = play->playerBar().angle().value();
    const int clicks = plays(SoundId::click);
    toReplay();
    while (play->state() == GameState::Replay)
        frame();
    EXPECT_EQ(play->playerBar().pivot(), endPivot);
    EXPECT_EQ(play->playerBar().angle().value(), endAngle);
    EXPECT_EQ(plays(SoundId::click), 2 * clicks); // the replay clicks where the attempt did
    frames(PlaySession::ResultFrames + 1);
    EXPECT_EQ(play->state(), GameState::Replay); // and again
}

// The world best's ghost (online records) joins only before the start click, and runs its record
// beside the attempt: the same input takes it where it takes the player's bar.
TEST_F(Play, TheWorldBestsGhostJoinsBeforeTheStartAndRunsItsRecord) {
    const auto record = [] {
        auto world = std::make_unique<InputRecord>();
        world->append(false, true);
        for (int i = 0; i < 6; ++i)
            world->append(true, false);
        world->finish();
        return world;
    };
    start(emptyStage(4));
    toPlay();
    play->raceWorld(record());
    EXPECT_FALSE(play->worldShown()) << "a ghost that starts late";
    start(emptyStage(4));
    play->raceWorld(record());
    ASSERT_TRUE(play->worldShown());
    toPlay();
    click();
    for (int i = 0; i < 6; ++i)
        frame({.rightHeld = true});
    // Near, not equal: the ghost's preview turn in the countdown leaves a rounding behind.
    EXPECT_NEAR(play->worldBar().pivot().x, play->playerBar().pivot().x, 1e-2f);
    EXPECT_NEAR(play->worldBar().pivot().y, play->playerBar().pivot().y, 1e-2f);
    EXPECT_NEAR(play->worldBar().angle().value(), play->playerBar().angle().value(), 1e-3f);
}

// A test play's way back, pressed with the click that would go on: one request, no bar lost.
TEST_F(Play, LeavingATestPlayAsksNothingMore) {
    run.editMode = true;
    start(chordStage(20, WALL, 30));
    toPlay();
    frames(20);
    toReplay();
    frame({.leftPressed = true, .leaveTest = true});
    EXPECT_EQ(exits, std::vector<PlayExit>{PlayExit::Back});
    EXPECT_EQ(run.barsLeft, StartingBars);
}

// The pause holds the clock, the bar and the record; a request only pauses, so the press that
// brings the focus back is not the menu's; the menu's choices resume, retry or leave.
TEST_F(Play, ThePauseHoldsPlayAndItsChoicesResumeRetryOrLeave) {
    start(emptyStage(30));
    toPlay();
    frames(10);
    const int remaining = play->remaining();
    frame({.pauseKey = true});
    ASSERT_TRUE(play->paused());
    EXPECT_FALSE(play->menuTurn());
    frame({.leftPressed = true});
    EXPECT_TRUE(play->menuTurn());
    EXPECT_EQ(play->remaining(), remaining);
    EXPECT_EQ(play->record().total(), 10);
    frame({.pauseRequested = true});
    EXPECT_FALSE(play->menuTurn());
    play->resume();
    EXPECT_FALSE(play->paused());
    frame();
    EXPECT_EQ(play->remaining(), remaining - 1);

    play->standStill(true); // the focus went: paused at once, without a frame
    EXPECT_TRUE(play->paused());
    frame({.leftPressed = true});
    play->retry();
    take();
    EXPECT_EQ(run.barsLeft, 4);
    EXPECT_EQ(exits, std::vector<PlayExit>{PlayExit::NextAttempt});
    EXPECT_EQ(music, std::nullopt);

    run.barsLeft = 0; // the retry on the last bar is the game's end
    start(emptyStage(30));
    toPlay();
    frame({.pauseKey = true});
    play->retry();
    take();
    EXPECT_EQ(play->state(), GameState::GameOver);
    EXPECT_EQ(plays(SoundId::gameover), 1);

    start(chordStage(20, GOAL, 30));
    toPlay();
    frame({.pauseKey = true});
    play->leave();
    take();
    EXPECT_EQ(exits, std::vector<PlayExit>{PlayExit::Back});
    EXPECT_TRUE(kept.empty());
}

// Three bars lost on one stage: the pause and a missed attempt's replay offer the proven route,
// which the next attempt shows beside the best run's ghost; asked for, it is offered no more.
TEST_F(Play, AStuckPlayerIsOfferedTheWayOnTheNextAttempt) {
    EXPECT_FALSE(PlaySession::wayRouteWanted(run));
    run.barsLostHere = 1;
    EXPECT_FALSE(PlaySession::wayRouteWanted(run));
    run.barsLostHere = 2;
    ASSERT_TRUE(PlaySession::wayRouteWanted(run));
    start(chordStage(20, WALL, 30), nullptr, idleRun(30));
    toPlay();
    EXPECT_FALSE(play->wayOffered()); // two bars lost: not yet
    frames(20);
    toReplay();
    EXPECT_TRUE(play->wayOffered()); // this miss is the third
    frame({.rightPressed = true});
    EXPECT_EQ(run.barsLostHere, 3);
    EXPECT_EQ(run.barsLeft, StartingBars - 1); // the guide costs the bar as a click on would
    EXPECT_TRUE(run.showWay);
    EXPECT_EQ(exits, std::vector<PlayExit>{PlayExit::NextAttempt});

    start(chordStage(20, WALL, 30), nullptr, idleRun(30));
    EXPECT_TRUE(play->wayShown());
    EXPECT_FALSE(play->wayOffered()); // asked for already
    run.showWay = false;
    start(chordStage(20, WALL, 30), nullptr, idleRun(30));
    toPlay();
    EXPECT_TRUE(play->wayOffered()); // the pause offers it too, for the next attempt
    frame({.pauseKey = true});
    play->showWayNext();
    EXPECT_FALSE(play->paused());
    EXPECT_TRUE(run.showWay);
    EXPECT_FALSE(play->wayShown());

    GameSession testPlay, ownStage;
    testPlay.editMode = true;
    ownStage.ownStageFile = "stage1";
    for (GameSession* other : {&testPlay, &ownStage}) {
        other->showWay = true;
        EXPECT_FALSE(PlaySession::wayRouteWanted(*other)); // only the ten stages have a proven route
    }
}
