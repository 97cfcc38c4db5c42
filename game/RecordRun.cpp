#include "game/RecordRun.h"

RecordRunResult runRecord(const Stage& stage, InputRecord& record) {
    record.rewind();
    Bar bar({}, 60.0f, 0, 0, Angle(stage.initialAngle));
    bar.reset(stage.initialPivot, stage.initialAngle);
    std::int32_t remaining = framesForTimeLimit(stage.timeLimit);
    RecordRunResult result;
    while (record.hasFramesLeft()) {
        remaining -= 1;
        const InputFlags flags = record.readNext();
        bar.step(flags.fast, flags.switchPivot);
        ++result.frames;
        result.outcome = judgeFrame(stage, bar, remaining);
        if (result.outcome != FrameOutcome::Continue) return result;
    }
    return result;
}

bool clearsAsClaimed(const Stage& stage, InputRecord& record) {
    // A run longer than the time limit cannot be a clear; refusing it first also bounds the replay.
    if (record.total() > framesForTimeLimit(stage.timeLimit)) return false;
    const RecordRunResult run = runRecord(stage, record);
    record.rewind();
    return run.outcome == FrameOutcome::Goal && run.frames == record.total();
}
