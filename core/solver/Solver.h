#pragma once
// Searches for inputs that clear a stage within its time limit, stepping the bar with the
// game's own code. By default it looks only for routes a person can play: clicks at least
// `minGap` frames apart, the fast button changed at most every MinFastGap frames, and a route
// that still clears when any one click comes a frame early or late. Used by the stage tool and
// by the editor's check, which runs it on a worker thread: it can be cancelled and reports how
// far it got.
#include "core/game/InputRecord.h"
#include "core/solver/ClearRate.h"
#include "core/solver/WalledIn.h"
#include "core/stage/LineGrid.h"
#include "core/stage/Stage.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

inline constexpr int MaxForgiveness = 3; // frames early or late a click's slip is measured up to

struct SolveOptions {
    double seconds = 30.0;            // wall-clock budget for the whole search
    std::size_t maxNodes = 2'000'000; // states kept at once: bounds the memory (about 150 bytes each)
    int minGap = 10;     // frames between two clicks; 1 is the machine's pace, with no timing check
    int forgiveness = 1; // at a person's pace, how far every click may slip and still clear (1 to 3)
    LineGrid::Mode collision = LineGrid::Mode::Grid;
    const std::atomic<bool>* cancel = nullptr;        // set from another thread: the search gives up soon
    std::function<void(std::size_t states)> progress; // called now and then on the searching thread
};

enum class SolveEnding {
    Clear,    // a route was found (and, at a person's pace, checked against late and early clicks)
    NoRoute,  // proven hopeless before the search (see `hopeless`), or every state it can tell apart tried
    GaveUp,   // the time ran out, or the search was cancelled
    StateCap, // the search kept SolveOptions::maxNodes states: neither a route nor a proof there is none
};

struct SolveResult {
    SolveEnding ending = SolveEnding::GaveUp;
    bool solved() const { return ending == SolveEnding::Clear; }
    Hopeless hopeless = Hopeless::No; // why no search was needed
    InputRecord record;               // the clearing run, not finished (as the game saves a best run)
    std::int32_t frames = 0;
    int switches = 0;
    int smallestGap = 0;          // frames between the closest two clicks; 0 with fewer than two
    int slack = 0;                // every click moved up to this many frames early or late still clears
    std::vector<int> forgiveness; // the same for each click alone, in order (up to MaxForgiveness)
    std::int32_t firstClick = 0;  // frames from "Go" to the first click; 0 with none
    ClearRate steady, ordinary;   // how often a steady and an ordinary hand clear it (default trials)
    std::size_t states = 0;
    double seconds = 0; // the search's wall-clock time
};

SolveResult solveStage(const Stage& stage, const SolveOptions& options);

// How many clicks forgive how much, the most forgiving first: "±3×4 ±2×3 ±1×1" (UTF-8).
std::string forgivenessSummary(const std::vector<int>& forgiveness);
