#include "core/game/RunCheck.h"

#include "core/game/FrameJudge.h"
#include "core/game/InputRecord.h"
#include "core/game/RecordRun.h"
#include "core/stage/StageFile.h"

RunVerdict checkRun(const Stage& stage, std::string_view replayBytes) {
    const std::int32_t limit = framesForTimeLimit(stage.timeLimit);
    if (replayBytes.size() > maxReplayFileBytes(limit)) return {false, 0, "too large"};
    InputRecord record;
    record.parse(std::string(replayBytes));
    if (record.total() <= 0) return {false, 0, "not a replay file"};
    if (record.total() > limit)
        return {false, 0,
                "claims " + std::to_string(record.total()) + " frames, past the time limit of " +
                    std::to_string(limit)};
    const RecordRunResult run = runRecord(stage, record);
    const std::string at = " at frame " + std::to_string(run.frames);
    switch (run.outcome) {
    case FrameOutcome::Wall:
        return {false, 0, "wall" + at};
    case FrameOutcome::TimeOut:
        return {false, 0, "time out" + at};
    case FrameOutcome::Continue:
        return {false, 0, "not a clear"};
    case FrameOutcome::Goal:
        break;
    }
    if (run.frames != record.total())
        return {false, 0, "claims " + std::to_string(record.total()) + " frames but clears" + at};
    return {true, run.frames, ""};
}

std::optional<Stage> readPublishedStage(std::string_view stageFileBytes, std::string& reason) {
    if (stageFileBytes.size() > MaxStageFileBytes) {
        reason = "too large";
        return std::nullopt;
    }
    std::optional<Stage> stage(std::in_place);
    parseStage(stageFileBytes, *stage);
    bool hasGoal = false;
    for (int j = 0; j < MaxSegments; ++j)
        hasGoal = hasGoal || stage->segments[std::size_t(j)].kind == GOAL;
    if (!hasGoal) {
        reason = "not a stage with a goal";
        return std::nullopt;
    }
    Stage compacted = *stage;
    compacted.compact();
    if (const std::error_code e = checkStorable(compacted, formatStage(compacted))) {
        reason = "not storable: " + e.message();
        return std::nullopt;
    }
    return stage;
}
