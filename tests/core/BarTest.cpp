#include "core/game/Bar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
Bar makeBar(float angle = 0.0f) {
    return Bar({0, 0}, 60.0f, 0xFFFFFFFF, 0xFF0000FF, Angle(angle));
}
} // namespace

TEST(Bar, FirstStepsTurnTwoOrFourDegrees) {
    Bar slow = makeBar();
    EXPECT_EQ(slow.freeEnd().x, 60.0f);
    slow.step(false, false);
    EXPECT_EQ(slow.angle().value(), 0.034906585f);
    EXPECT_NEAR(slow.freeEnd().x, 59.963f, 1e-3);
    EXPECT_NEAR(slow.freeEnd().y, 2.094f, 1e-3);

    Bar fast = makeBar();
    fast.step(true, false);
    EXPECT_EQ(fast.angle().value(), 0.06981317f);
    EXPECT_TRUE(fast.fast());
}

TEST(Bar, SwitchMakesTheFreeEndThePivotAndReverses) {
    Bar bar = makeBar();
    bar.step(false, true);
    EXPECT_EQ(bar.pivot().x, 60.0f);
    EXPECT_EQ(bar.pivot().y, 0.0f);
    EXPECT_TRUE(bar.reversed());
    EXPECT_NEAR(bar.angle().value(), 3.1415927 - 0.034906585, 1e-5);
    EXPECT_NEAR(bar.freeEnd().x, 0.037f, 2e-3);
    EXPECT_NEAR(bar.freeEnd().y, 2.094f, 2e-3);
    ASSERT_EQ(bar.trail().size(), 2u);
    EXPECT_NEAR(bar.trail()[0].freeEnd.x, 0.037f, 2e-3); // newest first
    EXPECT_NEAR(bar.trail()[1].freeEnd.x, 0.0f, 1e-4);   // recorded at the switch
    EXPECT_NEAR(bar.trail()[1].freeEnd.y, 0.0f, 1e-4);

    bar.step(false, true); // the first end is the pivot again
    EXPECT_NEAR(bar.pivot().x, 0.037f, 2e-3);
    EXPECT_FALSE(bar.reversed());
}

TEST(Bar, TrailKeepsTheTwelveNewestSegments) {
    Bar bar = makeBar();
    for (int i = 0; i < 20; ++i)
        bar.step(false, false);
    ASSERT_EQ(bar.trail().size(), 12u);
    EXPECT_EQ(bar.trail()[0].freeEnd.x, bar.freeEnd().x);
    EXPECT_GT(bar.trail()[11].freeEnd.x, bar.trail()[0].freeEnd.x); // oldest is the least turned
}

// What the player sees of a trail: the newest two segments as strong as the bar, every older one
// no stronger than the one before, and the oldest still there but faint.
TEST(Bar, TrailsFadeWithAgeButNeverVanish) {
    for (const int a : {255, 96}) { // the bar, the ghost
        EXPECT_EQ(Bar::trailAlpha(0, a), a);
        EXPECT_EQ(Bar::trailAlpha(1, a), a);
        for (int i = 2; i < Bar::MaxTrail; ++i)
            EXPECT_LT(Bar::trailAlpha(i, a), Bar::trailAlpha(i - 1, a)) << a << " " << i;
        EXPECT_GT(Bar::trailAlpha(Bar::MaxTrail - 1, a), 0) << a;
        EXPECT_LE(Bar::trailAlpha(Bar::MaxTrail - 1, a), a / 5) << a;
    }
}

TEST(Bar, WrapFollowsTheDoubleBoundsOfPi) {
    EXPECT_NEAR(Angle(4.712389f).value(), -1.5707963f, 1e-6); // 3 pi / 2
    const float nearestPi = 3.1415927f;                       // just above the double pi
    EXPECT_EQ(Angle(nearestPi).value(), -3.1415925f);
    const float belowPi = std::nextafter(nearestPi, 0.0f);
    EXPECT_EQ(Angle(belowPi).value(), belowPi);
    EXPECT_NEAR(Angle(-10.0f).value(), -10.0 + 4 * 3.14159265358979, 1e-5);
}

TEST(Bar, DamagedAnglesWrapWithoutHanging) {
    EXPECT_EQ(Angle(std::numeric_limits<float>::infinity()).value(), 0.0f);
    EXPECT_EQ(Angle(std::numeric_limits<float>::quiet_NaN()).value(), 0.0f);
    const float huge = Angle(1.0e30f).value();
    EXPECT_GE(huge, -3.1416f);
    EXPECT_LE(huge, 3.1416f);
}

TEST(Bar, ResetRestoresTheStartOfAnAttempt) {
    Bar bar = makeBar();
    bar.step(true, true);
    bar.reset({10, 20}, 1.0f);
    EXPECT_EQ(bar.pivot().x, 10.0f);
    EXPECT_FALSE(bar.reversed());
    EXPECT_FALSE(bar.fast());
    EXPECT_TRUE(bar.trail().empty());
    EXPECT_FALSE(bar.angle().isWrapped());
    EXPECT_EQ(bar.length(), 60.0f);
}
