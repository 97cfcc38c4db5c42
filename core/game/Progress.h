#pragma once
// How far the player has come through the ten stages. The best runs in the working folder are
// the record of clears: a stage is reached when it is the first or the stage before it has a
// best run that verifies, so no other progress file is kept and none can disagree with them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct StageProgress {
    std::u16string title;
    std::int32_t best = -1; // frames of the stage's verified best run; -1 for none
    bool reached = false;
};

// Stage n's file is `dataFolder` + stageFileName (n) (`dataFolder` empty: the current folder);
// best runs come from the working folder. A missing stage or a best run that does not verify
// counts as one without a best, so a forged file never unlocks a stage.
std::vector<StageProgress> readProgress(const std::string& dataFolder, int stageCount);

// Sets `reached` from the best times, as readProgress does.
void markReached(std::vector<StageProgress>& stages);

// The last reached stage: where a returning player goes on.
int highestReached(const std::vector<StageProgress>& stages);

// The sum of the best times once every stage has one.
std::optional<std::int64_t> totalBest(const std::vector<StageProgress>& stages);
