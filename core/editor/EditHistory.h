#pragma once
// Undo and redo as whole-stage snapshots: a stage is a fixed table of a few tens of kilobytes,
// so a copy per step is simple and exact. The snapshots are counted in bytes as well as steps,
// so that no stage, however it was made, lets the history outgrow its budget.
#include "core/stage/Stage.h"

#include <cstddef>
#include <deque>

class EditHistory {
public:
    static constexpr std::size_t MaxSteps = 256;
    static constexpr std::size_t MaxBytes = 64u * 1024 * 1024;

    // `before` is the stage as it was before the step just made; a new step ends the redo line.
    // The oldest steps go first when either limit is passed.
    void record(const Stage& before);
    // Swap `current` for the neighbouring snapshot; false (nothing changed) when there is none.
    bool undo(Stage& current);
    bool redo(Stage& current);

    std::size_t undoCount() const { return undo_.size(); }
    // What the snapshots of both lines hold, title text included.
    std::size_t bytes() const { return bytes_; }

    static std::size_t footprint(const Stage& stage);

private:
    bool step(std::deque<Stage>& from, std::deque<Stage>& to, Stage& current);

    std::deque<Stage> undo_;
    std::deque<Stage> redo_;
    std::size_t bytes_ = 0;
};
