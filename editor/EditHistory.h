#pragma once
// Undo and redo as whole-stage snapshots: a stage is a fixed table of a few tens of kilobytes,
// so a copy per step is simple and exact.
#include "stage/Stage.h"

#include <cstddef>
#include <deque>

class EditHistory {
public:
    static constexpr std::size_t MaxSteps = 256;

    // `before` is the stage as it was before the step just made; a new step ends the redo line.
    void record(const Stage& before);
    // Swap `current` for the neighbouring snapshot; false (nothing changed) when there is none.
    bool undo(Stage& current);
    bool redo(Stage& current);

    std::size_t undoCount() const { return undo_.size(); }

private:
    std::deque<Stage> undo_;
    std::deque<Stage> redo_;
};
