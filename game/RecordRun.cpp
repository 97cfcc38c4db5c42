#include "game/RecordRun.h"

RecordRunResult runRecord(const Stage& stage, InputRecord& record) {
    record.rewind();
    Attempt attempt(stage);
    RecordRunResult result;
    while (record.hasFramesLeft()) {
        result.outcome = attempt.advance(record.readNext());
        ++result.frames;
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
