#include "core/solver/Solver.h"
#include "core/editor/StageCheck.h"
#include "core/editor/StageCheckText.h"
#include "core/solver/RouteCheck.h"
#include "core/solver/WalledIn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <thread>

namespace {
// Adds lines from each point to the next; `closed` joins the last to the first by the same slot.
void addPath(Stage& stage, std::initializer_list<Vec2> points, std::int32_t kind, bool closed = false) {
    int first = -1, previous = -1;
    for (Vec2 p : points) {
        const int current = stage.addPoint(p);
        if (previous >= 0) stage.addSegment(previous, current, kind);
        if (first < 0) first = current;
        previous = current;
    }
    if (closed) stage.addSegment(previous, first, kind);
}

// Each line from its own two points: lines that meet only where their ends' coordinates agree.
void addLoose(Stage& stage, std::initializer_list<Vec2> points, std::int32_t kind) {
    const Vec2* p = points.begin();
    for (std::size_t i = 0; i < points.size(); ++i)
        stage.addSegment(stage.addPoint(p[i]), stage.addPoint(p[(i + 1) % points.size()]), kind);
}

constexpr Vec2 FarGoal[] = {{600, -50}, {600, 50}};

Stage withFarGoal(Stage stage) {
    addPath(stage, {FarGoal[0], FarGoal[1]}, GOAL);
    return stage;
}

struct Room {
    const char* name;
    Stage stage;
    Hopeless expected;
};

std::vector<Room> rooms() {
    std::vector<Room> table;
    Stage s;
    addPath(s, {{-200, -200}, {200, -200}, {200, 200}, {-200, 200}}, WALL, true);
    table.push_back({"closed square", withFarGoal(s), Hopeless::WalledIn});
    Stage goalInside = s;
    addPath(goalInside, {{100, -50}, {100, 50}}, GOAL);
    table.push_back({"goal inside the room", goalInside, Hopeless::No});
    Stage goalWithinReach = s; // a bar pivoting inside could touch it across the wall
    addPath(goalWithinReach, {{230, -50}, {230, 50}}, GOAL);
    table.push_back({"goal a bar's length outside", goalWithinReach, Hopeless::No});
    Stage startOutside = withFarGoal(s);
    startOutside.initialPivot = {-400, 0};
    table.push_back({"start outside a closed room", startOutside, Hopeless::No});
    Stage startOnWall = withFarGoal(s);
    startOnWall.initialPivot = {-230, 0}; // the start bar reaches across the wall at x = -200
    table.push_back({"start across a wall", startOnWall, Hopeless::No});

    Stage polygon;
    addLoose(polygon, {{-150, -90}, {0, -180}, {150, -90}, {150, 90}, {0, 180}, {-150, 90}}, WALL);
    table.push_back({"hexagon of lines touching at their ends", withFarGoal(polygon), Hopeless::WalledIn});
    // A spiral that closes where its last turn crosses its first line, nowhere at an end.
    Stage spiral;
    addPath(spiral, {{-200, -250}, {-200, 200}, {200, 200}, {200, -200}, {-250, -200}}, WALL);
    table.push_back({"spiral closed by a crossing", withFarGoal(spiral), Hopeless::WalledIn});
    Stage openSpiral;
    addPath(openSpiral, {{-200, -150}, {-200, 200}, {200, 200}, {200, -200}, {-150, -200}}, WALL);
    table.push_back({"spiral that stays open", withFarGoal(openSpiral), Hopeless::No});
    Stage gap;
    addPath(gap, {{-200, 100}, {-200, -200}, {200, -200}, {200, 200}, {-200, 200}}, WALL);
    table.push_back({"square with a wide gap", withFarGoal(gap), Hopeless::No});
    Stage hair;
    addPath(hair, {{-200, 199.99f}, {-200, -200}, {200, -200}, {200, 200}, {-200, 200}}, WALL);
    table.push_back({"square with a hair-wide gap", withFarGoal(hair), Hopeless::No});
    Stage tee; // an end a hair short of the wall it should meet
    addPath(tee, {{-200, -200}, {200, -200}, {200, 200}, {-200, 200}}, WALL);
    addPath(tee, {{-200, 200}, {-200, -199.999f}}, WALL);
    table.push_back({"last wall a hair short", withFarGoal(tee), Hopeless::No});

    Stage huge; // as far out as coordinates go in practice: one room, nested rooms beside it
    addPath(huge, {{-2e9f, -2e9f}, {2e9f, -2e9f}, {2e9f, 2e9f}, {-2e9f, 2e9f}}, WALL, true);
    for (int k = 1; k <= 120; ++k)
        addPath(huge, {{1e9f, float(k) * 1e6f}, {1.5e9f, float(k) * 1e6f}, {1.5e9f, -float(k) * 1e6f}}, WALL,
                true);
    addPath(huge, {{3e9f, -1}, {3e9f, 1}}, GOAL);
    table.push_back({"room of points near 2e9", huge, Hopeless::WalledIn});

    table.push_back({"no goal", s, Hopeless::NoGoal});
    Stage dotGoal = s;
    addPath(dotGoal, {{500, 0}, {500, 0}}, GOAL);
    table.push_back({"a goal of no length only", dotGoal, Hopeless::NoGoal});
    return table;
}
} // namespace

TEST(WalledIn, ProvenOnlyWhereTheWallsReallyCloseTheStartOff) {
    for (const Room& room : rooms())
        EXPECT_EQ(provenHopeless(room.stage), room.expected) << room.name;
}

TEST(WalledIn, TheSolverAndTheEditorsCheckSayNoRouteAndWhy) {
    const Room closed = rooms().front();
    const SolveResult result = solveStage(closed.stage, {});
    EXPECT_EQ(result.ending, SolveEnding::NoRoute);
    EXPECT_EQ(result.hopeless, Hopeless::WalledIn);
    StageCheck check;
    check.start(closed.stage);
    while (!check.answer())
        std::this_thread::yield();
    EXPECT_EQ(stageCheckText(check), u"スタート地点が壁に囲まれていてゴールに届きません");
}

TEST(WalledIn, AnOpenRoomStillHasItsRoute) {
    // The wide gap's room: the search must still find the way out to the goal.
    for (const Room& room : rooms()) {
        if (std::string(room.name) != "square with a wide gap") continue;
        SolveOptions options;
        options.minGap = 1;
        const SolveResult result = solveStage(room.stage, options);
        ASSERT_TRUE(result.solved());
        EXPECT_EQ(result.hopeless, Hopeless::No);
    }
}

TEST(Solver, EachEndingIsSaidForWhatItIs) {
    // A room with its goal inside, and a room just around the bar with a hair-wide gap, which the
    // proof leaves to the search: a time-out and a state cap are no answer, an exhausted search
    // at either pace is one.
    const Stage open = rooms()[1].stage;
    Stage hair;
    addPath(hair, {{-70, 69.99f}, {-70, -70}, {70, -70}, {70, 70}, {-70, 70}}, WALL);
    hair = withFarGoal(hair);
    struct Case {
        const char* name;
        const Stage& stage;
        double seconds;
        std::size_t maxStates;
        int minGap;
        SolveEnding expected;
    };
    const Case cases[] = {
        {"time-out", open, 1e-9, 2'000'000, 10, SolveEnding::GaveUp},
        {"state cap, machine's pace", open, 30, 40, 1, SolveEnding::StateCap},
        {"state cap, person's pace", open, 30, 40, 10, SolveEnding::StateCap},
        {"exhausted, machine's pace", hair, 30, 2'000'000, 1, SolveEnding::NoRoute},
        {"exhausted, person's pace", hair, 30, 2'000'000, 10, SolveEnding::NoRoute},
        {"cap above what the room holds", open, 30, 2'000'000, 10, SolveEnding::Clear},
    };
    for (const Case& c : cases) {
        SolveOptions options;
        options.seconds = c.seconds;
        options.maxNodes = c.maxStates;
        options.minGap = c.minGap;
        const SolveResult result = solveStage(c.stage, options);
        EXPECT_EQ(result.ending, c.expected) << c.name;
        EXPECT_EQ(result.hopeless, Hopeless::No) << c.name;
    }
}

TEST(Forgiveness, EachClickIsMeasuredOnItsOwn) {
    // The bar turns about the origin; one click puts its pivot at the free end, from where the
    // turning bar sweeps across the goal at x = 100. Any click in the first twenty frames clears,
    // but no click can come before the first frame: a click on frame k forgives k - 1 at most.
    Stage stage;
    addPath(stage, {{100, -30}, {100, 30}}, GOAL);
    stage.timeLimit = 20;
    for (const int k : {1, 2, 3, 10}) {
        std::vector<InputFlags> frames(std::size_t(k) + 200);
        frames[std::size_t(k) - 1].switchPivot = true;
        const std::vector<int> expected{std::min(k - 1, MaxForgiveness)};
        EXPECT_EQ(forgivenessOf(stage, frames, MaxForgiveness), expected) << k;
        EXPECT_EQ(slackOf(stage, frames, MaxForgiveness), expected[0]) << k;
    }
    EXPECT_EQ(forgivenessSummary({3, 1, 3, 0, 1, 3}), "\u00B13\u00D73 \u00B11\u00D72 \u00B10\u00D71");
    for (const int wanted : {1, 2, 3}) {
        SolveOptions options;
        options.forgiveness = wanted;
        const SolveResult result = solveStage(stage, options);
        ASSERT_TRUE(result.solved()) << wanted;
        EXPECT_EQ(result.forgiveness, forgivenessOf(stage, framesOf(result.record), MaxForgiveness));
        EXPECT_GE(result.slack, wanted);
        EXPECT_GE(result.firstClick, 1);
        EXPECT_TRUE(framesOf(result.record)[std::size_t(result.firstClick) - 1].switchPivot);
    }
}
