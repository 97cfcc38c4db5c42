#include "core/game/FrameJudge.h"
#include "core/game/GameConstants.h"
#include "core/solver/FrameCounts.h"
#include "core/solver/TurnBound.h"
#include "core/solver/WallClearance.h"
#include "core/stage/LineGrid.h"
#include "core/stage/Stage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

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
    EXPECT_EQ(judgeFrame(LineGrid(s), bar, 1), FrameOutcome::Continue);
    EXPECT_EQ(judgeFrame(LineGrid(s), bar, 0), FrameOutcome::TimeOut);
    addLine(s, {30, -10}, {30, 10}, GOAL);
    EXPECT_EQ(judgeFrame(LineGrid(s), bar, 0), FrameOutcome::Goal);
    s.segments[0].kind = WALL;
    EXPECT_EQ(judgeFrame(LineGrid(s), bar, 0), FrameOutcome::Wall);
}

TEST(Collision, TheGridAnswersAsThePlainScanOnRandomStages) {
    std::mt19937 rng(15);
    // Lattice points make touching ends, shared points and collinear lines common; a few points
    // far out or not finite are scanned beside the grid.
    std::uniform_int_distribution<int> lattice(-40, 40), pick(0, 99);
    const auto point = [&](float scale) -> Vec2 {
        const int odd = pick(rng);
        if (odd == 0) return {3.0e9f, float(lattice(rng))};
        if (odd == 1) return {float(lattice(rng)), -INFINITY};
        return {float(lattice(rng)) * scale, float(lattice(rng)) * scale};
    };
    for (int round = 0; round < 40; ++round) {
        Stage s;
        const float scale = round % 2 ? 5.0f : 40.0f; // a crowded stage, then a wide one
        for (int k = 0; k < MaxPoints / 2; ++k)
            s.addSegment(s.addPoint(point(scale)), s.addPoint(point(scale)), pick(rng) % 4 ? WALL : GOAL);
        for (int k = 0; k < 100; ++k) // and free slots among the used ones
            s.deleteSegment(pick(rng) * 3);
        const LineGrid grid(s);
        for (int k = 0; k < 500; ++k) {
            const Vec2 p = point(scale), q{p.x + float(lattice(rng)), p.y + float(lattice(rng))};
            ASSERT_EQ(grid.hitLine(p, q), s.hitLine(p, q))
                << round << ": " << p.x << "," << p.y << " " << q.x << "," << q.y;
        }
    }
}

// The search spares the exact tests wherever a measured distance proves their answer: it must
// never prove a different one, at the angle measured or the angles the bar turns on to.
TEST(Collision, TheSearchsDistanceBoundsNeverContradictTheExactTests) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> lattice(-12, 12), near(-4, 4), pick(0, 3), frames(1, 40);
    for (int round = 0; round < 60; ++round) {
        Stage s;
        for (int k = 0; k < 40; ++k) { // short lattice lines, half of them level: in line with a level bar
            const Vec2 a{lattice(rng) * 10.0f, lattice(rng) * 10.0f};
            addLine(s, a, {a.x + near(rng) * 10.0f, a.y + (k % 2 ? 0.0f : near(rng) * 10.0f)},
                    pick(rng) ? WALL : GOAL);
        }
        const LineGrid grid(s);
        WallClearance clearance(s);
        const Vec2 pivot{lattice(rng) * 10.0f, lattice(rng) * 10.0f};
        const float room = float(pick(rng)) * 4.0f + 0.5f;
        clearance.gatherNear(pivot, 2 * BarLength + room + 1, BarLength + room + 1);
        Bar bar(pivot, BarLength, 0, 0, Angle(float(pick(rng)) * 1.5707964f));
        TurnBound bound(BarLength);
        for (int frame = 0; frame < 200; bar.step(++frame % 3 == 0, false)) {
            const float angle = bar.angle().value();
            const Vec2 q = bar.freeEnd();
            if (frame % frames(rng) == 0) { // the first, level or upright, bar among them
                const auto d = clearance.innerDistances(pivot, q);
                bound.measured(angle, d.toWall, d.toLine);
                const double band = 0.01;
                if (d.toWall > room + band) {
                    ASSERT_FALSE(grid.wallNear(pivot, q, room)) << round;
                }
                if (d.toWall < room - band) {
                    ASSERT_TRUE(grid.wallNear(pivot, q, room)) << round;
                }
            }
            if (bound.toLine(angle) > 0) {
                ASSERT_EQ(grid.hitLine(pivot, q), -1) << round << " " << frame;
            }
            if (bound.toWall(angle) >= room + 1) {
                ASSERT_FALSE(grid.wallNear(pivot, q, room)) << round;
            }
        }
    }
}

TEST(Collision, TheSearchKeepsTheFewestFramesOfEachStateThroughEveryGrowth) {
    std::mt19937_64 rng(3);
    FrameCounts counts;
    std::map<std::uint64_t, std::int32_t> fewest;
    for (int k = 0; k < 20000; ++k) {
        const std::uint64_t key = rng() % 5000 * 0x9E3779B97F4A7C15ULL >> 1; // repeats, spread bits
        const auto frames = std::int32_t(rng() % 100);
        const auto [it, added] = fewest.try_emplace(key, frames);
        const bool fewer = added || frames < it->second;
        if (fewer) it->second = frames;
        ASSERT_EQ(counts.improve(key, frames), fewer) << k;
    }
}

TEST(Collision, TimeLimitFramesAreClamped) {
    EXPECT_EQ(framesForTimeLimit(30), 1800);
    EXPECT_EQ(framesForTimeLimit(0), 0);
    EXPECT_EQ(framesForTimeLimit(-5), 0);
    EXPECT_EQ(framesForTimeLimit(INT32_MAX), INT32_MAX / 60 * 60);
}
