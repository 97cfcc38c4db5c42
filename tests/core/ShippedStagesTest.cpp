#include "game/RecordRun.h"
#include "game/Solver.h"
#include "stage/StageFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string dataFile(const std::string& name) {
    return std::string(DATA_DIR) + "/" + name;
}
} // namespace

class ShippedStage : public ::testing::TestWithParam<int> {};

TEST_P(ShippedStage, ItsSolutionClearsItWellWithinTheTimeLimit) {
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
    EXPECT_LE(run.frames * 2, stage.timeLimit * 60) << "a player needs room to be slower than the solver";
}

INSTANTIATE_TEST_SUITE_P(AllTen, ShippedStage, ::testing::Range(1, 11));

TEST(Solver, ItsRunsVerifyAndAWalledInGoalIsUnsolved) {
    Stage stage;
    const int a = stage.addPoint({-130, -100}), b = stage.addPoint({130, -100});
    const int c = stage.addPoint({130, 100}), d = stage.addPoint({-130, 100});
    stage.addSegment(a, b, WALL);
    stage.addSegment(b, c, WALL);
    stage.addSegment(c, d, WALL);
    stage.addSegment(d, a, WALL);
    stage.addSegment(stage.addPoint({100, -30}), stage.addPoint({100, 30}), GOAL);
    stage.timeLimit = 20;
    SolveResult result = solveStage(stage, {5.0, 2'000'000});
    ASSERT_TRUE(result.solved);
    const RecordRunResult run = runRecord(stage, result.record);
    EXPECT_EQ(run.outcome, FrameOutcome::Goal);
    EXPECT_EQ(run.frames, result.frames);

    // Wall the goal in: no input can reach it, and the search runs out of places to go.
    const int e = stage.addPoint({90, -40}), f = stage.addPoint({110, -40});
    const int g = stage.addPoint({110, 40}), h = stage.addPoint({90, 40});
    stage.addSegment(e, f, WALL);
    stage.addSegment(f, g, WALL);
    stage.addSegment(g, h, WALL);
    stage.addSegment(h, e, WALL);
    EXPECT_FALSE(solveStage(stage, {5.0, 2'000'000}).solved);
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
    for (Stage* stage : {&longGoals, &farAway}) {
        stage->timeLimit = 60;
        SolveResult result = solveStage(*stage, {0.3, 2'000'000});
        if (result.solved) {
            EXPECT_EQ(runRecord(*stage, result.record).frames, result.frames);
        }
    }
}
