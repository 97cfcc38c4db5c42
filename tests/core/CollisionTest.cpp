#include "game/FrameJudge.h"
#include "game/GameConstants.h"
#include "stage/Stage.h"

#include <gtest/gtest.h>

namespace {
// A stage with one line from a to b of the given kind.
int addLine(Stage& s, Vec2 a, Vec2 b, std::int32_t kind) {
    return s.addSegment(s.addPoint(a), s.addPoint(b), kind);
}
} // namespace

TEST(Collision, SegmentTestBoundsAreInclusiveAndParallelNeverTouches) {
    const Vec2 p{0, 0}, q{60, 0};
    EXPECT_TRUE(segmentsIntersect(p, q, {30, -10}, {30, 10}));
    EXPECT_TRUE(segmentsIntersect(p, q, {60, -10}, {60, 10})); // t = 1 exactly
    EXPECT_FALSE(segmentsIntersect(p, q, {61, -10}, {61, 10}));
    EXPECT_FALSE(segmentsIntersect(p, q, {10, 0}, {50, 0})); // collinear overlap: D = 0
    EXPECT_TRUE(segmentsIntersect(p, q, {30, 0}, {30, 10})); // u = 0
    EXPECT_FALSE(segmentsIntersect(p, p, {0, -5}, {0, 5}));  // zero length
}

TEST(Collision, FirstSlotDecidesWhenAWallAndAGoalAreTouched) {
    Stage goalFirst;
    for (int i = 0; i < 3; ++i)
        addLine(goalFirst, {500, 500}, {500.0f + i, 600}, WALL); // slots 0-2, far away
    EXPECT_EQ(addLine(goalFirst, {30, -10}, {30, 10}, GOAL), 3);
    for (int i = 0; i < 3; ++i)
        addLine(goalFirst, {700, 700}, {700.0f + i, 800}, WALL);
    EXPECT_EQ(addLine(goalFirst, {40, -10}, {40, 10}, WALL), 7);
    EXPECT_EQ(goalFirst.hitLine({0, 0}, {60, 0}), GOAL);

    Stage wallFirst = goalFirst;
    std::swap(wallFirst.segments[3].kind, wallFirst.segments[7].kind);
    EXPECT_EQ(wallFirst.hitLine({0, 0}, {60, 0}), WALL);
}

TEST(Collision, EmptyStageNeverHits) {
    Stage s;
    EXPECT_EQ(s.hitLine({-1000, -1000}, {1000, 1000}), -1);
}

TEST(Collision, BoundingBoxRejectionKeepsTouchingEnds) {
    Stage s;
    addLine(s, {60, 0}, {60, 10}, WALL); // touches the bar's end exactly, boxes only touch
    EXPECT_EQ(s.hitLine({0, 0}, {60, 0}), WALL);
    addLine(s, {-5, 1}, {-1, 1}, GOAL);
    EXPECT_EQ(s.hitLine({0, 0}, {-60, 0.0f}), -1);
}

TEST(Collision, JudgementPrefersATouchOverTheTimeOut) {
    Stage s;
    Bar bar({0, 0}, BarLength, 0, 0, Angle(0.0f));
    EXPECT_EQ(judgeFrame(s, bar, 1), FrameOutcome::Continue);
    EXPECT_EQ(judgeFrame(s, bar, 0), FrameOutcome::TimeOut);
    addLine(s, {30, -10}, {30, 10}, GOAL);
    EXPECT_EQ(judgeFrame(s, bar, 0), FrameOutcome::Goal);
    s.segments[0].kind = WALL;
    EXPECT_EQ(judgeFrame(s, bar, 0), FrameOutcome::Wall);
}

TEST(Collision, TimeLimitFramesAreClamped) {
    EXPECT_EQ(framesForTimeLimit(30), 1800);
    EXPECT_EQ(framesForTimeLimit(0), 0);
    EXPECT_EQ(framesForTimeLimit(-5), 0);
    EXPECT_EQ(framesForTimeLimit(INT32_MAX), INT32_MAX / 60 * 60);
}
