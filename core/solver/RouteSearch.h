#pragma once
// Weighted A* over the steps of a route, from the stage's start to a goal, guided by the
// distance to the goals. What a step is (one frame, or frames up to a click) is decided by a
// move generator, which plays each step with the game's own Attempt and offers what it reaches.
#include "core/game/Attempt.h"
#include "core/solver/FrameCounts.h"
#include "core/solver/GoalDistance.h"
#include "core/solver/Solver.h"
#include "core/solver/WallClearance.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <queue>
#include <vector>

// A step of a route: `length` frames, `fastFrames` of them with the fast button held after the
// first `slowLead`, the last with a click when `click` is set.
struct RouteNode {
    BarPose pose;
    std::int32_t frames;
    std::int32_t parent;
    std::uint16_t length;
    std::uint16_t fastFrames;
    bool click;
    bool clicked; // any click so far
    // The clicks so far that lie farthest out in eight directions: the farthest click from any
    // point is one of these, within a few percent.
    std::array<Vec2, 8> outerClicks{};
    std::uint16_t slowLead = 0;
};

// States whose pivots lie within one quantum (and whose angles in one bin) are one state.
struct StateGrain {
    float pivotQuantum;
    int angleBins;
};

inline constexpr std::int32_t Exhausted = -1;   // every reachable state was tried: no clear exists
inline constexpr std::int32_t OutOfBudget = -2; // time or the caller's patience spent first
inline constexpr std::int32_t OutOfStates = -3; // the state cap (SolveOptions::maxNodes) reached first
inline constexpr std::int32_t NoClear = -1;     // a step that reached no goal

class RouteSearch {
public:
    using Clock = std::chrono::steady_clock;
    // Steps from nodes[current], offering each state it reaches; returns the index of a node
    // that clears (see finish()), or NoClear.
    using Expand = std::function<std::int32_t(std::int32_t current)>;

    RouteSearch(const Stage& stage, const SolveOptions& options, Clock::time_point deadline);

    // A search from the stage's start; the clearing node's index, Exhausted, OutOfBudget or OutOfStates.
    std::int32_t run(float weight, StateGrain grain, const Expand& expand);
    // Keeps a state reached by a step unless a state that looks the same was reached as early.
    void offer(const RouteNode& node);
    // Whether offer() would keep a state reached in `frames`, so that a step spares the work of
    // one it would throw away; such a one is counted as reached here.
    bool wanted(const BarPose& pose, std::int32_t frames);
    // Keeps the clearing node; its index is what run() returns.
    std::int32_t finish(const RouteNode& node);

    Attempt& attempt() { return attempt_; }
    const Stage& stage() const { return attempt_.stage(); }
    // The inputs of the route that ends at nodes[last], frame by frame.
    std::vector<InputFlags> framesOfRoute(std::int32_t last) const;

    std::vector<RouteNode> nodes;
    std::size_t states = 0; // reached by the steps, whether kept or not
    WallClearance clearance;

private:
    static const LineGrid& prepared(Attempt& attempt, LineGrid::Mode mode);
    float estimate(const BarPose& pose) const;
    std::int32_t spent(std::size_t expanded); // 0 while the search may go on

    using Item = std::pair<float, std::int32_t>;
    Attempt attempt_;
    const SolveOptions& options_;
    Clock::time_point deadline_;
    GoalDistance field_;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> open_;
    FrameCounts best_;
    float weight_ = 1;
    StateGrain grain_{1, 1};
};
