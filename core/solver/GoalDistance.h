#pragma once
// Geodesic distance (in stage units) from every cell of a grid over the stage to the nearest
// goal, walking around walls. It guides the route search through mazes where straight-line
// distance would mislead it.
#include "core/stage/LineGrid.h"
#include "core/stage/Stage.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

// floor(v) as an integer, with v clamped to [lo, hi] first (NaN to lo): stage coordinates may be
// anywhere up to 3.4e38, and converting a value beyond the integer's range is undefined.
inline std::int64_t clampedFloor(double v, std::int64_t lo, std::int64_t hi) {
    if (!(v >= double(lo))) return lo;
    if (v >= double(hi)) return hi;
    return std::int64_t(std::floor(v));
}

class GoalDistance {
public:
    // Building stops at the deadline or on cancel; cells not reached by then are unguided.
    GoalDistance(const Stage& stage, const LineGrid& lines, std::chrono::steady_clock::time_point deadline,
                 const std::atomic<bool>* cancel);
    // Off the grid or cut off from every goal on the grid: a large value, last in line.
    float at(Vec2 p) const;

private:
    void seedGoal(Vec2 a, Vec2 b);
    void spread(const LineGrid& lines, std::chrono::steady_clock::time_point deadline,
                const std::atomic<bool>* cancel);
    int cellIndex(double x, double y) const;
    Vec2 centre(int cx, int cy) const;

    double originX_ = 0, originY_ = 0;
    int width_ = 0, height_ = 0;
    std::vector<float> dist_;
    std::vector<int> seeds_;
};
