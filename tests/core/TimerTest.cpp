#include "tests/support/FakeClock.h"

#include <gtest/gtest.h>

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
