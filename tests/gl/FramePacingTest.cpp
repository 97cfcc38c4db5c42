#include "GlTestSupport.h"

#include "FakeClock.h"
#include "scene/SceneMaster.h"

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
    SceneMaster master{clock.clock()};
    Counter* scene = nullptr;
};
} // namespace

TEST(Timer, TargetsAreExactMicrosecondsFromTheStart) {
    FakeClock clock;
    Lib::Time::Timer timer(60, clock.clock());
    const std::uint64_t start = timer.TargetTime(0);
    EXPECT_EQ(timer.TargetTime(1) - start, 16'666u);
    EXPECT_EQ(timer.TargetTime(2) - start, 33'333u);
    EXPECT_EQ(timer.TargetTime(3) - start, 50'000u);
    EXPECT_EQ(timer.TargetTime(60) - start, 1'000'000u);
    // Past 19.9 hours a 32-bit product would wrap; the 64-bit target keeps counting.
    EXPECT_EQ(timer.TargetTime(4'294'968) - start, 71'582'800'000u);
}

TEST_F(Pacing, OnTimeFramesAreAllDrawnAtSixtyPerSecond) {
    runFor(2000);
    EXPECT_NEAR(scene->updates, 120, 2);
    EXPECT_GE(scene->draws, scene->updates - 2);
}

TEST_F(Pacing, AStallIsCaughtUpWithUndrawnUpdates) {
    runFor(500);
    const int drawsBefore = scene->draws, updatesBefore = scene->updates;
    FakeClock::advance(3000); // a modal box held open for three seconds
    // Catch up: updates without draws until the frame counter is ahead of the clock again.
    while (scene->draws == drawsBefore)
        master.RunFrame();
    const int caughtUp = scene->updates - updatesBefore - 1;
    EXPECT_NEAR(caughtUp, 180, 15);
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

TEST(Timer, TheWaitSleepsToShortlyBeforeTheTargetAndSpinsOnlyTheRest) {
    FakeClock clock;
    Lib::Time::Timer timer(60, clock.clock());
    timer.NextFrame(); // frame 1 is due 16 ms after the start
    FakeClock::readings = FakeClock::sleeps = 0;
    timer.WaitForFrame();
    EXPECT_GE(FakeClock::micros, timer.CurrentTarget()); // on the target, not past it
    EXPECT_LT(FakeClock::micros, timer.CurrentTarget() + 100);
    EXPECT_EQ(FakeClock::sleeps, 1);
    // Each reading takes 50 us here: spinning the default margin takes about six of them,
    // where a 2 ms spin took forty.
    EXPECT_LE(FakeClock::readings, int(Lib::Time::Timer::DefaultSpinUs / 50) + 3);

    timer.SetSpinMargin(2000);
    timer.NextFrame();
    FakeClock::readings = 0;
    timer.WaitForFrame();
    EXPECT_GE(FakeClock::readings, 2000 / 50);
}

TEST(Timer, ALateFrameIsNotWaitedFor) {
    FakeClock clock;
    Lib::Time::Timer timer(60, clock.clock());
    timer.NextFrame();
    FakeClock::advance(20);
    FakeClock::sleeps = 0;
    timer.WaitForFrame();
    EXPECT_EQ(FakeClock::sleeps, 0);
}
