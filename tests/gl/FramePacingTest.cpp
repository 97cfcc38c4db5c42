#include "tests/gl/GlTestSupport.h"

#include "tests/support/FakeClock.h"
#include "ui/scene/SceneMaster.h"

#include <gtest/gtest.h>

namespace {
// Counts updates and draws; an update can be made to take longer than a frame.
class Counter : public Lib::Scene::SceneBase {
public:
    void Update() override {
        ++updates;
        FakeClock::advance(workMs);
    }
    void Draw() const override { ++draws; }
    int updates = 0;
    mutable int draws = 0;
    std::uint64_t workMs = 1;
};

class Pacing : public ::testing::Test {
protected:
    void SetUp() override { scene = pushOnto<Counter>(master); }
    // Runs frames until `ms` of fake time have passed.
    void runFor(std::uint64_t ms) {
        const std::uint64_t end = FakeClock::micros + ms * 1000;
        while (FakeClock::micros < end)
            master.RunFrame();
    }

    FakeClock clock;
    SceneMaster master{*TheGameSystem, clock.clock()};
    Counter* scene = nullptr;
};
} // namespace

TEST_F(Pacing, OnTimeFramesAreAllDrawnAtSixtyPerSecond) {
    runFor(2000);
    EXPECT_NEAR(scene->updates, 120, 2);
    EXPECT_GE(scene->draws, scene->updates - 2);
}

TEST_F(Pacing, AStallIsCaughtUpWithUndrawnUpdates) {
    runFor(500);
    const int drawsBefore = scene->draws, updatesBefore = scene->updates;
    FakeClock::advance(3000); // the system stalled the game for three seconds
    // Catch up: updates without draws until the frame counter is ahead of the clock again.
    while (scene->draws == drawsBefore)
        master.RunFrame();
    const int caughtUp = scene->updates - updatesBefore - 1;
    EXPECT_NEAR(caughtUp, 180, 15);

    // A modal box held open as long: no time passed for the game, so nothing is caught up, and
    // the frame after it is drawn a whole frame later, on time.
    const int updates = scene->updates, draws = scene->draws;
    FakeClock::advance(3000);
    master.FrameTimer().SkipLostTime();
    const std::uint64_t closed = FakeClock::micros;
    master.RunFrame();
    EXPECT_EQ(scene->updates, updates + 1);
    EXPECT_EQ(scene->draws, draws + 1);
    EXPECT_GE(FakeClock::micros, closed + 16'000);
    EXPECT_LT(FakeClock::micros, closed + 17'000);
    master.FrameTimer().SkipLostTime(); // on time: nothing to let go of
    master.RunFrame();
    EXPECT_EQ(scene->draws, draws + 2);
    EXPECT_LT(FakeClock::micros, closed + 34'000);
}

TEST_F(Pacing, AnUpdateSlowerThanAFrameIsNotDrawn) {
    runFor(200);
    const int draws = scene->draws;
    scene->workMs = 25;
    master.RunFrame();
    EXPECT_EQ(scene->draws, draws);
    scene->workMs = 1;
    while (scene->draws == draws)
        master.RunFrame();
    EXPECT_LE(scene->updates, 200 / 16 + 6);
}
