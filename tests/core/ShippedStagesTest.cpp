#include "core/game/HeadsUpBand.h"
#include "core/game/RecordRun.h"
#include "core/game/ShippedTitles.h"
#include "core/lang/LanguageChoice.h"
#include "core/lang/Translate.h"
#include "core/solver/ClearRate.h"
#include "core/solver/RouteCheck.h"
#include "core/solver/Solver.h"
#include "core/stage/StageFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>

namespace {
std::string dataFile(const std::string& name) {
    return std::string(DATA_DIR) + "/" + name;
}
} // namespace

class ShippedStage : public ::testing::TestWithParam<int> {};

TEST_P(ShippedStage, ItsSolutionIsAPersonsRouteWellWithinTheTimeLimit) {
    const int n = GetParam();
    Stage stage;
    loadStage(dataFile("stage" + std::to_string(n)), stage);
    ASSERT_GT(stage.segmentCount(), 0);
    EXPECT_NE(stage.title, u"untitled");
    EXPECT_LE(stage.title.size(), 20u);
    InputRecord solution;
    solution.load(dataFile("solutions/stage" + std::to_string(n) + ".rep"),
                  framesForTimeLimit(stage.timeLimit));
    ASSERT_GT(solution.total(), 0);
    const RecordRunResult run = runRecord(stage, solution);
    EXPECT_EQ(run.outcome, FrameOutcome::Goal);
    EXPECT_EQ(run.frames, solution.total());
    EXPECT_LE(run.frames * 4, stage.timeLimit * 60 * 3) << "a player needs room to be slower than the route";
    // A person's route: clicks 10 frames apart at least, the fast button changed 6 apart (how
    // much each click forgives is held by the curve below).
    const RouteTiming timing = timingOf(framesOf(solution));
    EXPECT_GE(timing.smallestGap, 10);
    EXPECT_TRUE(timing.smallestFastGap == 0 || timing.smallestFastGap >= MinFastGap)
        << timing.smallestFastGap;
    // The first screen shows no line through the heads-up texts' band.
    const Camera& c = stage.startCamera;
    const Rect& h = HeadsUpBand;
    const Vec2 corners[4] = {screenToWorld({h.left, h.bottom}, c), screenToWorld({h.right, h.bottom}, c),
                             screenToWorld({h.right, h.top}, c), screenToWorld({h.left, h.top}, c)};
    const Rect band(corners[0], corners[2]);
    for (const Segment& line : stage.segments) {
        if (line.kind == FreeSegment) continue;
        const Vec2 a = stage.points[line.low], b = stage.points[line.high];
        bool crosses = band.containsStrictly(a) || band.containsStrictly(b);
        for (int k = 0; k < 4; ++k)
            crosses = crosses || segmentsIntersect(a, b, corners[k], corners[(k + 1) % 4]);
        EXPECT_FALSE(crosses) << "line " << a.x << "," << a.y << " " << b.x << "," << b.y;
    }
}

TEST_P(ShippedStage, ItsTitleReadsInEnglishWhileTheFileKeepsTheJapanese) {
    Stage stage;
    loadStage(dataFile("stage" + std::to_string(GetParam())), stage);
    EXPECT_EQ(shippedStageTitle(stage.title), stage.title); // the game's own language
    ASSERT_EQ(LoadLanguage({LOCALE_DIR}, "en"), "en");
    const std::u16string english = shippedStageTitle(stage.title);
    EXPECT_NE(english, stage.title);
    EXPECT_TRUE(
        std::all_of(english.begin(), english.end(), [](char16_t c) { return c >= 0x20 && c < 0x7F; }));
    EXPECT_EQ(shippedStageTitle(stage.title + u"2"), stage.title + u"2"); // a maker's own title, as written
    LoadLanguage({}, OwnLanguage);
}

INSTANTIATE_TEST_SUITE_P(AllTen, ShippedStage, ::testing::Range(1, 11));

// The ten stages as a person climbs them: each shipped route cleared by hand often enough, every
// click still clearing when it alone comes two frames early or late (three on the first three),
// and no stage easier than the one before it by more than three points, for a steady hand and
// an ordinary one.
TEST(ShippedStages, ClimbACurveAPersonCanFinish) {
    struct Point {
        int slip, steady, ordinary; // frames every click forgives; least percent cleared
    };
    const Point curve[10] = {{3, 97, 90}, {3, 45, 0}, {3, 45, 0}, {2, 45, 0}, {2, 45, 0},
                             {2, 45, 0},  {2, 45, 0}, {2, 45, 0}, {2, 45, 0}, {2, 45, 0}};
    int before[2] = {100, 100};
    for (int n = 1; n <= 10; ++n) {
        const Point& point = curve[n - 1];
        Stage stage;
        loadStage(dataFile("stage" + std::to_string(n)), stage);
        InputRecord solution;
        solution.load(dataFile("solutions/stage" + std::to_string(n) + ".rep"),
                      framesForTimeLimit(stage.timeLimit));
        const std::vector<InputFlags> frames = framesOf(solution);
        EXPECT_GE(slackOf(stage, frames, point.slip), point.slip) << "stage " << n;
        const int rates[2] = {clearRateOf(stage, frames, {.spreadMs = SteadySpreadMs}).percent(),
                              clearRateOf(stage, frames, {.spreadMs = OrdinarySpreadMs}).percent()};
        EXPECT_GE(rates[0], point.steady) << "stage " << n;
        EXPECT_GE(rates[1], point.ordinary) << "stage " << n;
        for (int k = 0; k < 2; ++k) {
            EXPECT_LE(rates[k], before[k] + 3) << "stage " << n << " is easier than the one before";
            before[k] = rates[k];
        }
    }
}

TEST(Solver, ItsRunsVerifyAtAPersonsPaceAndAWalledInGoalHasNoRoute) {
    Stage stage;
    const int a = stage.addPoint({-130, -100}), b = stage.addPoint({130, -100});
    const int c = stage.addPoint({130, 100}), d = stage.addPoint({-130, 100});
    stage.addSegment(a, b, WALL);
    stage.addSegment(b, c, WALL);
    stage.addSegment(c, d, WALL);
    stage.addSegment(d, a, WALL);
    stage.addSegment(stage.addPoint({100, -30}), stage.addPoint({100, 30}), GOAL);
    stage.timeLimit = 20;
    for (const int minGap : {1, 10, 25}) {
        SolveOptions options;
        options.minGap = minGap;
        SolveResult result = solveStage(stage, options);
        ASSERT_TRUE(result.solved()) << minGap;
        const RecordRunResult run = runRecord(stage, result.record);
        EXPECT_EQ(run.outcome, FrameOutcome::Goal);
        EXPECT_EQ(run.frames, result.frames);
        const std::vector<InputFlags> frames = framesOf(result.record);
        const RouteTiming timing = timingOf(frames);
        // The figures the tool prints, counted here from the route's own frames.
        std::vector<int> clicks;
        for (std::size_t i = 0; i < frames.size(); ++i)
            if (frames[i].switchPivot) clicks.push_back(int(i));
        EXPECT_EQ(int(clicks.size()), result.switches);
        int gap = 0;
        for (std::size_t i = 1; i < clicks.size(); ++i)
            gap = i == 1 ? clicks[1] - clicks[0] : std::min(gap, clicks[i] - clicks[i - 1]);
        EXPECT_EQ(gap, result.smallestGap);
        EXPECT_EQ(clicks.empty() ? 0 : clicks[0] + 1, result.firstClick);
        if (minGap > 1) {
            EXPECT_GE(result.slack, 1);
            EXPECT_EQ(slackOf(stage, frames, result.slack), result.slack);
            EXPECT_TRUE(timing.smallestGap == 0 || timing.smallestGap >= minGap) << timing.smallestGap;
            EXPECT_TRUE(timing.smallestFastGap == 0 || timing.smallestFastGap >= MinFastGap);
            // With no timing error every trial is the route itself; a route cut short of the goal
            // clears in no trial, however the clicks fall.
            EXPECT_EQ(clearRateOf(stage, frames, {.trials = 7, .spreadMs = 0}).cleared, 7);
            EXPECT_EQ(clearRateOf(stage, frames, {.trials = 1}).trials, 1);
            const std::vector<InputFlags> cut(frames.begin(),
                                              frames.begin() + std::ptrdiff_t(frames.size() / 3));
            for (double spread : {0.0, 15.0, 100.0})
                EXPECT_EQ(clearRateOf(stage, cut, {.trials = 50, .spreadMs = spread}).cleared, 0) << spread;
            EXPECT_GE(result.steady.cleared, result.ordinary.cleared);
        }
    }
    // A budget too small to build the guide gives up; so does a cancelled search.
    SolveOptions hurried;
    hurried.seconds = 1e-9;
    EXPECT_EQ(solveStage(stage, hurried).ending, SolveEnding::GaveUp);
    std::atomic<bool> cancel = false;
    std::size_t reported = 0;
    SolveOptions cancelled; // as the editor stops a check it hears from
    cancelled.cancel = &cancel;
    cancelled.progress = [&](std::size_t) {
        ++reported;
        cancel = true;
    };
    EXPECT_EQ(solveStage(stage, cancelled).ending, SolveEnding::GaveUp);
    EXPECT_GT(reported, 0u);

    // Shrink the room to just around the bar, the goal left outside: at either pace the search
    // runs out of places to go.
    stage.points[std::size_t(a)] = {-70, -70};
    stage.points[std::size_t(b)] = {70, -70};
    stage.points[std::size_t(c)] = {70, 70};
    stage.points[std::size_t(d)] = {-70, 70};
    for (const int minGap : {1, 10}) {
        SolveOptions options;
        options.minGap = minGap;
        EXPECT_EQ(solveStage(stage, options).ending, SolveEnding::NoRoute) << minGap;
    }
}

TEST(Solver, TheBudgetBoundsAllItsWorkWhateverTheCoordinates) {
    // Goals billions of units long once made building the search's guide take minutes.
    Stage longGoals;
    for (int k = 0; k < 100; ++k)
        longGoals.addSegment(longGoals.addPoint({-3.0e9f, 400.0f + 5.0f * float(k)}),
                             longGoals.addPoint({3.0e9f, 400.0f + 5.0f * float(k)}), GOAL);
    // Coordinates at the edge of the float range, where converting to an integer is undefined.
    Stage farAway;
    farAway.addSegment(farAway.addPoint({-3.4e38f, -3.4e38f}), farAway.addPoint({3.4e38f, 3.4e38f}), WALL);
    farAway.addSegment(farAway.addPoint({3.3e38f, -1.0f}), farAway.addPoint({3.3e38f, 1.0f}), GOAL);
    farAway.initialPivot = {3.3e38f, 3.0e38f};
    farAway.initialAngle = 1.0e38f;
    // The memory budget ends the search the same way on any machine; the clock's budget is
    // reached only if building the guide takes minutes again, and then no state is searched.
    SolveOptions options;
    options.maxNodes = 20'000;
    options.seconds = 60;
    longGoals.timeLimit = farAway.timeLimit = 60;
    const SolveResult open = solveStage(longGoals, options);
    EXPECT_EQ(open.ending, SolveEnding::StateCap); // an open floor: "no route" would be wrong
    EXPECT_GT(open.states, options.maxNodes);
    // At that scale a step moves nothing: every state the search can tell apart is tried.
    EXPECT_EQ(solveStage(farAway, options).ending, SolveEnding::NoRoute);
}
