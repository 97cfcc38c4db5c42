#include "core/solver/GoalDistance.h"

#include <algorithm>
#include <limits>
#include <queue>

namespace {
constexpr float CellSize = 8.0f;
constexpr int MaxCells = 1024; // grid cells a side; a larger stage is guided only near its points
constexpr float Margin = 120.0f;
using Clock = std::chrono::steady_clock;
} // namespace

GoalDistance::GoalDistance(const Stage& stage, const LineGrid& lines, Clock::time_point deadline,
                           const std::atomic<bool>* cancel) {
    float minX = stage.initialPivot.x, maxX = minX, minY = stage.initialPivot.y, maxY = minY;
    for (int i = 0; i < MaxPoints; ++i) {
        if (!stage.holdsPoint(i)) continue;
        minX = std::min(minX, stage.points[i].x);
        maxX = std::max(maxX, stage.points[i].x);
        minY = std::min(minY, stage.points[i].y);
        maxY = std::max(maxY, stage.points[i].y);
    }
    originX_ = double(minX) - Margin;
    originY_ = double(minY) - Margin;
    width_ = int(clampedFloor((double(maxX) - minX + 2 * Margin) / CellSize, 0, MaxCells - 1)) + 1;
    height_ = int(clampedFloor((double(maxY) - minY + 2 * Margin) / CellSize, 0, MaxCells - 1)) + 1;
    dist_.assign(std::size_t(width_) * height_, std::numeric_limits<float>::infinity());
    for (const Segment& s : stage.segments)
        if (s.kind == GOAL) seedGoal(stage.points[s.low], stage.points[s.high]);
    spread(lines, deadline, cancel);
}

// Marks the cells along the part of the goal that lies on the grid; a goal billions of units
// long costs no more than one across the grid.
void GoalDistance::seedGoal(Vec2 a, Vec2 b) {
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    double t0 = 0, t1 = 1;
    const auto clip = [&](double p, double q) { // Liang-Barsky: keep where p * t <= q
        if (p == 0) return q >= 0;
        const double t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    const double right = originX_ + double(width_) * CellSize, top = originY_ + double(height_) * CellSize;
    if (!clip(-dx, a.x - originX_) || !clip(dx, right - a.x) || !clip(-dy, a.y - originY_) ||
        !clip(dy, top - a.y))
        return;
    const double length = std::hypot(dx, dy) * (t1 - t0);
    const auto samples = int(clampedFloor(length / (CellSize * 0.5), 0, 4 * MaxCells)) + 1;
    for (int k = 0; k <= samples; ++k) {
        const double t = t0 + (t1 - t0) * k / samples;
        const int c = cellIndex(a.x + dx * t, a.y + dy * t);
        if (c >= 0 && dist_[std::size_t(c)] > 0) {
            dist_[std::size_t(c)] = 0;
            seeds_.push_back(c);
        }
    }
}

void GoalDistance::spread(const LineGrid& lines, Clock::time_point deadline,
                          const std::atomic<bool>* cancel) {
    using Item = std::pair<float, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> open;
    for (int c : seeds_)
        open.push({0.0f, c});
    const int dx[] = {1, -1, 0, 0, 1, 1, -1, -1};
    const int dy[] = {0, 0, 1, -1, 1, -1, 1, -1};
    for (std::size_t popped = 0; !open.empty(); ++popped) {
        if ((popped & 0x3FF) == 0 && (Clock::now() > deadline || (cancel && cancel->load()))) return;
        const auto [d, c] = open.top();
        open.pop();
        if (d > dist_[std::size_t(c)]) continue;
        const int cx = c % width_, cy = c / width_;
        for (int k = 0; k < 8; ++k) {
            const int nx = cx + dx[k], ny = cy + dy[k];
            if (nx < 0 || ny < 0 || nx >= width_ || ny >= height_) continue;
            const float nd = d + (k < 4 ? CellSize : CellSize * 1.41421356f);
            const int n = ny * width_ + nx;
            if (nd >= dist_[std::size_t(n)] || lines.crossesWall(centre(cx, cy), centre(nx, ny))) continue;
            dist_[std::size_t(n)] = nd;
            open.push({nd, n});
        }
    }
}

int GoalDistance::cellIndex(double x, double y) const {
    const auto cx = clampedFloor((x - originX_) / CellSize, -1, width_);
    const auto cy = clampedFloor((y - originY_) / CellSize, -1, height_);
    if (cx < 0 || cy < 0 || cx >= width_ || cy >= height_) return -1;
    return int(cy) * width_ + int(cx);
}

Vec2 GoalDistance::centre(int cx, int cy) const {
    return {float(originX_ + (cx + 0.5) * CellSize), float(originY_ + (cy + 0.5) * CellSize)};
}

float GoalDistance::at(Vec2 p) const {
    const int c = cellIndex(p.x, p.y);
    // Off the grid or cut off from every goal on the grid: still allowed, but last in line.
    if (c < 0 || !std::isfinite(dist_[std::size_t(c)])) return 1.0e6f;
    return dist_[std::size_t(c)];
}
