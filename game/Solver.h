#pragma once
// Searches for inputs that clear a stage within its time limit, stepping the bar with the
// game's own code. Used by the stage tool to prove the shipped stages clearable.
#include "game/InputRecord.h"
#include "stage/Stage.h"

struct SolveOptions {
    double seconds = 30.0; // wall-clock budget for the whole search
    std::size_t maxNodes = 40'000'000;
};

struct SolveResult {
    bool solved = false;
    InputRecord record; // the clearing run, not finished (as the game saves a best run)
    std::int32_t frames = 0;
};

SolveResult solveStage(const Stage& stage, const SolveOptions& options);
