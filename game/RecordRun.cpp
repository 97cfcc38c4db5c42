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
