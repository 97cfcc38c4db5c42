#pragma once
// One attempt's timed play from the stage's start: the bar and the frames left. The play scene,
// the stage tool's replay check and the solver all play frames through advance(), so a run
// ends on the same frame whichever of them plays it.
#include "core/game/Bar.h"
#include "core/game/FrameJudge.h"
#include "core/game/InputRecord.h"
#include "core/stage/Stage.h"

#include <cstdint>

class Attempt {
public:
    // The stage must outlive the attempt; it is read again by every restart().
    explicit Attempt(const Stage& stage, Color32 normalColor = 0, Color32 fastColor = 0);

    // The bar back at the stage's start, with the stage's whole time; the stage's lines are
    // sorted into the collision grid again, so a stage changed since is played as it is now.
    void restart();
    // Continues from a pose with `remaining` frames left (a search branching from a position).
    void resume(const BarPose& pose, std::int32_t remaining);
    // One frame: count it off the time, step the bar with the frame's input, judge the frame.
    FrameOutcome advance(InputFlags input);
    // advance() in its two halves, for a caller that may have proved that the bar touches no
    // line (a search's bar turning in open floor) and so spares the collision test.
    void step(InputFlags input) {
        remaining_ -= 1;
        bar_.step(input.fast, input.switchPivot);
    }
    FrameOutcome judge() const { return judgeFrame(lines_, bar_, remaining_); }
    FrameOutcome judgeUntouched() const { return judgeUntouchedFrame(remaining_); }
    // Collision by the stage's plain scan instead of the grid, for benchmarks; restarts.
    void useCollision(LineGrid::Mode mode) {
        mode_ = mode;
        restart();
    }
    const LineGrid& lines() const { return lines_; }
    const Stage& stage() const { return stage_; }

    const Bar& bar() const { return bar_; }
    Bar& bar() { return bar_; } // for stepping a replay after the attempt, untimed
    std::int32_t remaining() const { return remaining_; }

private:
    const Stage& stage_;
    LineGrid lines_;
    LineGrid::Mode mode_ = LineGrid::Mode::Grid;
    Bar bar_;
    std::int32_t remaining_ = 0;
};
