#include "core/game/RecordRun.h"

namespace {
// One whole turn at the slow speed (two at the fast one), plus a frame for rounding.
constexpr std::int32_t FullTurnFrames = std::int32_t(2 * Bar::HalfTurn / Bar::SlowStep) + 1;
} // namespace

RecordRunResult runRecord(const Stage& stage, InputRecord& record) {
    record.rewind();
    Attempt attempt(stage);
    RecordRunResult result;
    std::int32_t turningInPlace = 0;
    while (record.hasFramesLeft()) {
        result.outcome = attempt.advance(record.readNext());
        ++result.frames;
        if (result.outcome != FrameOutcome::Continue) return result;
        turningInPlace = record.hasInputLeft() ? 0 : turningInPlace + 1;
        if (turningInPlace < FullTurnFrames) continue;
        const std::int32_t framesLeft = record.total() - record.played();
        if (attempt.remaining() <= framesLeft) {
            result.outcome = FrameOutcome::TimeOut;
            result.frames += attempt.remaining();
        } else {
            result.frames += framesLeft;
        }
        return result;
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
