#include "core/game/StageSelect.h"
#include "core/game/InputRecord.h"
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"

#include "tests/TempFolder.h"

#include <gtest/gtest.h>

namespace {
std::vector<StageProgress> tenWithBestsUpTo(int cleared) {
    std::vector<StageProgress> stages(10);
    for (int n = 0; n < cleared; ++n)
        stages[std::size_t(n)].best = 600 + n;
    markReached(stages);
    return stages;
}

std::vector<OwnStage> ownStages(int count) {
    std::vector<OwnStage> own;
    for (int k = 1; k <= count; ++k)
        own.push_back({"stage" + std::to_string(k), u"mine"});
    return own;
}
} // namespace

TEST(StageSelect, OpensOnTheHighestReachedStageAndKeepsAHighlightPerPage) {
    StageSelect select(tenWithBestsUpTo(3), ownStages(2));
    EXPECT_EQ(select.page(), StageSelect::Shipped);
    EXPECT_EQ(select.lit(), 3); // stages 1-3 cleared: stage 4 is where the player goes on
    EXPECT_EQ(select.entryCount(), 11);
    EXPECT_TRUE(select.playable(3));
    EXPECT_FALSE(select.playable(4)); // locked
    EXPECT_FALSE(select.playable(select.exitEntry()));
    EXPECT_FALSE(select.playable(-1));
    select.light(99);
    EXPECT_EQ(select.lit(), 10); // clamped to EXIT

    select.showPage(StageSelect::Own);
    EXPECT_EQ(select.lit(), 0);
    EXPECT_EQ(select.entryCount(), 3);
    EXPECT_TRUE(select.playable(1)); // own stages are never locked
    select.lightOwn("stage2");
    EXPECT_EQ(select.lit(), 1);
    select.lightOwn("stage9"); // not listed: stays
    EXPECT_EQ(select.lit(), 1);
    select.showPage(StageSelect::Shipped);
    EXPECT_EQ(select.lit(), 10);

    EXPECT_EQ(StageSelect(tenWithBestsUpTo(0), {}).lit(), 0);
    EXPECT_EQ(StageSelect(tenWithBestsUpTo(10), {}).lit(), 9);
}

TEST(StageSelect, ALongPageKeepsTheHighlightInSight) {
    StageSelect select(tenWithBestsUpTo(0), ownStages(10'000));
    select.showPage(StageSelect::Own);
    EXPECT_EQ(select.firstInSight(), 0);
    select.light(select.exitEntry());
    EXPECT_EQ(select.lit(), 10'000);
    EXPECT_EQ(select.firstInSight(), 10'001 - StageSelect::RowsInSight);
    select.light(5'000);
    EXPECT_EQ(select.firstInSight(), 5'000);
    select.light(5'005); // still in sight: the view stays
    EXPECT_EQ(select.firstInSight(), 5'000);

    // Removed while the select was open: the next one moves up under the highlight; the last one
    // removed leaves EXIT lit.
    StageSelect few(tenWithBestsUpTo(0), ownStages(2));
    few.showPage(StageSelect::Own);
    few.light(1);
    few.removeOwn(1);
    EXPECT_EQ(few.own().size(), 1u);
    EXPECT_EQ(few.lit(), 1);
    EXPECT_EQ(few.exitEntry(), 1);
    few.removeOwn(5); // no such entry
    EXPECT_EQ(few.own().size(), 1u);
}

TEST(StageSelect, AnOwnStagesBestIsTheVerifiedRunOfItsContent) {
    TempFolder data;
    setenv("XDG_DATA_HOME", data.path().c_str(), 1);
    ASSERT_TRUE(ensureWorkingFolder());
    Stage stage;
    loadStage(std::string(DATA_DIR) + "/stage1", stage);
    const std::string path = workingFolderPath() + "stage1";
    ASSERT_TRUE(saveStage(path, stage));
    StageSelect select(tenWithBestsUpTo(0), {{"stage1", stage.title}, {"stage2", u"gone"}});
    EXPECT_EQ(select.ownBest(0), -1);

    InputRecord solution;
    solution.load(std::string(DATA_DIR) + "/solutions/stage1.rep", INT32_MAX);
    ASSERT_TRUE(solution.save(ownReplayFileName(stage)));
    EXPECT_EQ(ownStageBest(path), solution.total());
    EXPECT_EQ(select.ownBest(0), -1); // read once: the page does not read its stages each frame
    EXPECT_EQ(StageSelect(tenWithBestsUpTo(0), {{"stage1", u""}}).ownBest(0), solution.total());
    EXPECT_EQ(select.ownBest(1), -1); // no such file
    EXPECT_EQ(select.ownBest(7), -1);

    stage.title += u"2"; // edited: the old best is not this stage's
    ASSERT_TRUE(saveStage(path, stage));
    EXPECT_EQ(ownStageBest(path), -1);
    // A run under the edited stage's name that does not clear it counts as none.
    InputRecord other;
    other.load(std::string(DATA_DIR) + "/solutions/stage2.rep", INT32_MAX);
    ASSERT_TRUE(other.save(ownReplayFileName(stage)));
    EXPECT_EQ(ownStageBest(path), -1);
}
