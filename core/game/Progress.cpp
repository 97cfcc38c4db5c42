#include "core/game/Progress.h"

#include "core/game/BestRun.h"
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"

#include <algorithm>
#include <memory>

std::vector<StageProgress> readProgress(const std::string& dataFolder, int stageCount) {
    std::vector<StageProgress> stages(std::size_t(std::max(stageCount, 0)));
    const auto stage = std::make_unique<Stage>(); // two fixed tables: too large for the stack
    for (int n = 0; n < stageCount; ++n) {
        StageProgress& progress = stages[std::size_t(n)];
        std::error_code error;
        loadStage(dataFolder + stageFileName(n), *stage, &error);
        if (error) continue; // untitled and without a best: it cannot be played as it is
        progress.title = stage->title;
        std::string problem;
        if (const auto best = loadBestRun(replayFileName(n), *stage, problem)) progress.best = best->total();
    }
    markReached(stages);
    return stages;
}

void markReached(std::vector<StageProgress>& stages) {
    for (std::size_t n = 0; n < stages.size(); ++n)
        stages[n].reached = n == 0 || stages[n - 1].best > 0;
}

int highestReached(const std::vector<StageProgress>& stages) {
    int highest = 0;
    for (std::size_t n = 0; n < stages.size(); ++n)
        if (stages[n].reached) highest = int(n);
    return highest;
}

std::optional<std::int64_t> totalBest(const std::vector<StageProgress>& stages) {
    std::int64_t sum = 0;
    for (const StageProgress& stage : stages) {
        if (stage.best <= 0) return std::nullopt;
        sum += stage.best;
    }
    return stages.empty() ? std::nullopt : std::optional(sum);
}
