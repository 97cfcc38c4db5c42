#include "core/game/Attempt.h"

#include "core/game/GameConstants.h"

Attempt::Attempt(const Stage& stage, Color32 normalColor, Color32 fastColor)
    : stage_(stage), bar_({}, BarLength, normalColor, fastColor, Angle(stage.initialAngle)) {
    restart();
}

void Attempt::restart() {
    lines_.rebuild(stage_, mode_);
    bar_.reset(stage_.initialPivot, stage_.initialAngle);
    remaining_ = framesForTimeLimit(stage_.timeLimit);
}

void Attempt::resume(const BarPose& pose, std::int32_t remaining) {
    bar_.setPose(pose);
    remaining_ = remaining;
}

FrameOutcome Attempt::advance(InputFlags input) {
    step(input);
    return judge();
}
