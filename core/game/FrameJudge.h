#pragma once
// The end-of-frame rule of an attempt, shared by the play scene and the stage tool so that a
// replay verified by the tool ends exactly where the game would end it.
#include "core/game/Bar.h"
#include "core/game/GameConstants.h"
#include "core/stage/LineGrid.h"
#include "core/stage/Stage.h"

#include <cstdint>

enum class FrameOutcome { Continue, Wall, Goal, TimeOut };

// A frame in which the bar touched nothing, after its step, with `remaining` counted down.
inline FrameOutcome judgeUntouchedFrame(std::int32_t remaining) {
    return remaining <= 0 ? FrameOutcome::TimeOut : FrameOutcome::Continue;
}

// Called after the frame's step, with `remaining` already counted down. A touch in the frame
// in which the time runs out counts as the touch, not as a time-out.
inline FrameOutcome judgeFrame(const LineGrid& lines, const Bar& bar, std::int32_t remaining) {
    const int hit = lines.hitLine(bar.pivot(), bar.freeEnd());
    if (hit == WALL) return FrameOutcome::Wall;
    if (hit == GOAL) return FrameOutcome::Goal;
    return judgeUntouchedFrame(remaining);
}

// Frames of play for a time limit in seconds; limits whose frame count would not fit are clamped.
inline std::int32_t framesForTimeLimit(std::int32_t seconds) {
    constexpr std::int32_t MaxSeconds = INT32_MAX / FramesPerSecond;
    if (seconds <= 0) return 0; // times out in the first frame, as any non-positive limit would
    return (seconds > MaxSeconds ? MaxSeconds : seconds) * FramesPerSecond;
}
