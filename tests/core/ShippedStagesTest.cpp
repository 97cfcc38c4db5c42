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
    solution.load(dataFile("solutions/stage" + std::to_string(n) + ".rep"));
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
