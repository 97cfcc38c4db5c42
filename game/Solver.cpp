#include "game/Solver.h"

#include "game/Attempt.h"
#include "game/GameConstants.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <queue>
#include <unordered_map>
#include <vector>

namespace {
// The pivot can advance at most about half the free end's fast speed (4.19 units per frame).
constexpr float MaxPivotSpeed = 2.1f;
constexpr float CellSize = 8.0f;     // grid of the distance field
constexpr float PivotQuantum = 3.0f; // states closer than this (and in the same 2-degree bin) merge
constexpr int AngleBins = 180;
constexpr int MaxCells = 1024; // grid cells a side; a larger stage is guided only near its points
constexpr float Margin = 120.0f;
using Clock = std::chrono::steady_clock;

// floor(v) as an integer, with v clamped to [lo, hi] first (NaN to lo): stage coordinates may be
// anywhere up to 3.4e38, and converting a value beyond the integer's range is undefined.
std::int64_t clampedFloor(double v, std::int64_t lo, std::int64_t hi) {
    if (!(v >= double(lo))) return lo;
    if (v >= double(hi)) return hi;
    return std::int64_t(std::floor(v));
}

// Geodesic distance (in stage units) from every grid cell to the nearest goal, walking around
// walls. It guides the search through mazes where straight-line distance would mislead it.
// Building it stops at the deadline; cells not reached by then are simply unguided.
class DistanceField {
public:
    DistanceField(const Stage& stage, Clock::time_point deadline);
    float at(Vec2 p) const;

private:
    void seedGoal(Vec2 a, Vec2 b);
    void spread(const Stage& stage, Clock::time_point deadline);
    int cellIndex(double x, double y) const;
    Vec2 centre(int cx, int cy) const {
        return {float(originX_ + (cx + 0.5) * CellSize), float(originY_ + (cy + 0.5) * CellSize)};
    }

    double originX_ = 0, originY_ = 0;
    int width_ = 0, height_ = 0;
    std::vector<float> dist_;
    std::vector<int> seeds_;
};

bool wallBetween(const Stage& stage, Vec2 a, Vec2 b) {
    for (const Segment& s : stage.segments)
        if (s.kind == WALL && segmentsIntersect(a, b, stage.points[s.low], stage.points[s.high])) return true;
    return false;
}

DistanceField::DistanceField(const Stage& stage, Clock::time_point deadline) {
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
    spread(stage, deadline);
}

// Marks the cells along the part of the goal that lies on the grid; a goal billions of units
// long costs no more than one across the grid.
void DistanceField::seedGoal(Vec2 a, Vec2 b) {
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

void DistanceField::spread(const Stage& stage, Clock::time_point deadline) {
    using Item = std::pair<float, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> open;
    for (int c : seeds_)
        open.push({0.0f, c});
    const int dx[] = {1, -1, 0, 0, 1, 1, -1, -1};
    const int dy[] = {0, 0, 1, -1, 1, -1, 1, -1};
    for (std::size_t popped = 0; !open.empty(); ++popped) {
        if ((popped & 0x3FF) == 0 && Clock::now() > deadline) return;
        const auto [d, c] = open.top();
        open.pop();
        if (d > dist_[std::size_t(c)]) continue;
        const int cx = c % width_, cy = c / width_;
        for (int k = 0; k < 8; ++k) {
            const int nx = cx + dx[k], ny = cy + dy[k];
            if (nx < 0 || ny < 0 || nx >= width_ || ny >= height_) continue;
            const float nd = d + (k < 4 ? CellSize : CellSize * 1.41421356f);
            const int n = ny * width_ + nx;
            if (nd >= dist_[std::size_t(n)] || wallBetween(stage, centre(cx, cy), centre(nx, ny))) continue;
            dist_[std::size_t(n)] = nd;
            open.push({nd, n});
        }
    }
}

int DistanceField::cellIndex(double x, double y) const {
    const auto cx = clampedFloor((x - originX_) / CellSize, -1, width_);
    const auto cy = clampedFloor((y - originY_) / CellSize, -1, height_);
    if (cx < 0 || cy < 0 || cx >= width_ || cy >= height_) return -1;
    return int(cy) * width_ + int(cx);
}

float DistanceField::at(Vec2 p) const {
    const int c = cellIndex(p.x, p.y);
    // Off the grid or cut off from every goal on the grid: still allowed, but last in line.
    if (c < 0 || !std::isfinite(dist_[std::size_t(c)])) return 1.0e6f;
    return dist_[std::size_t(c)];
}

struct Node {
    BarPose pose;
    std::int32_t frames;
    std::int32_t parent;
    std::uint8_t action; // bit 0 fast, bit 1 switch
};

std::uint64_t stateKey(const BarPose& pose) {
    constexpr std::int64_t Far = std::int64_t(1) << 40;
    const auto qx = clampedFloor(double(pose.pivot.x) / PivotQuantum, -Far, Far) & 0xFFFFFF;
    const auto qy = clampedFloor(double(pose.pivot.y) / PivotQuantum, -Far, Far) & 0xFFFFFF;
    const double turn = (double(pose.angle.value()) + 3.141592653589793) / 6.283185307179586;
    const auto qa = clampedFloor(turn * AngleBins + 0.5, 0, AngleBins) % AngleBins;
    return std::uint64_t(qx) | (std::uint64_t(qy) << 24) | (std::uint64_t(qa) << 48) |
           (std::uint64_t(pose.reversed) << 63);
}

InputRecord recordOf(const std::vector<Node>& nodes, std::int32_t last) {
    std::vector<std::uint8_t> actions;
    for (std::int32_t n = last; nodes[n].parent >= 0; n = nodes[n].parent)
        actions.push_back(nodes[n].action);
    std::reverse(actions.begin(), actions.end());
    InputRecord record;
    for (std::uint8_t a : actions)
        record.append(a & 1, a & 2);
    return record;
}

constexpr std::int32_t Exhausted = -1;   // every reachable pose was tried: no clear exists
constexpr std::int32_t OutOfBudget = -2; // time or node budget spent first

// One weighted A* run; returns the index of the clearing node, Exhausted or OutOfBudget.
std::int32_t search(const Stage& stage, const DistanceField& field, float weight, std::int32_t frameLimit,
                    std::vector<Node>& nodes, Clock::time_point deadline, std::size_t maxNodes) {
    const auto estimate = [&](const BarPose& pose) {
        return std::max(0.0f, field.at(pose.pivot) - BarLength) / MaxPivotSpeed;
    };
    using Item = std::pair<float, std::int32_t>;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> open;
    std::unordered_map<std::uint64_t, std::int32_t> bestFrames;
    Attempt attempt(stage);
    nodes.clear();
    nodes.push_back({attempt.bar().pose(), 0, -1, 0});
    open.push({weight * estimate(nodes[0].pose), 0});
    std::size_t expanded = 0;
    while (!open.empty() && nodes.size() < maxNodes) {
        const std::int32_t current = open.top().second;
        open.pop();
        if ((++expanded & 0xFFF) == 0 && Clock::now() > deadline) return OutOfBudget;
        const Node node = nodes[current];
        if (node.frames >= frameLimit) continue;
        for (std::uint8_t action = 0; action < 4; ++action) {
            attempt.resume(node.pose, frameLimit - node.frames);
            const FrameOutcome outcome = attempt.advance({bool(action & 1), bool(action & 2)});
            if (outcome == FrameOutcome::Wall || outcome == FrameOutcome::TimeOut) continue;
            const std::int32_t frames = node.frames + 1;
            nodes.push_back({attempt.bar().pose(), frames, current, action});
            const auto index = std::int32_t(nodes.size() - 1);
            if (outcome == FrameOutcome::Goal) return index;
            auto [it, inserted] = bestFrames.try_emplace(stateKey(nodes.back().pose), frames);
            if (!inserted) {
                if (it->second <= frames) {
                    nodes.pop_back();
                    continue;
                }
                it->second = frames;
            }
            open.push({float(frames) + weight * estimate(nodes.back().pose), index});
        }
    }
    return open.empty() ? Exhausted : OutOfBudget;
}
} // namespace

SolveResult solveStage(const Stage& stage, const SolveOptions& options) {
    // A budget of whole years is no budget: cap it so the deadline cannot overflow the clock.
    const double seconds = std::clamp(options.seconds, 0.0, 1.0e7);
    const auto deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    const DistanceField field(stage, deadline);
    SolveResult best;
    std::int32_t frameLimit = framesForTimeLimit(stage.timeLimit);
    std::vector<Node> nodes;
    // Greedy first, for any solution; then closer to plain A* while time is left, for short ones.
    for (float weight : {4.0f, 2.0f, 1.4f, 1.15f}) {
        const std::int32_t found =
            search(stage, field, weight, frameLimit, nodes, deadline, options.maxNodes);
        if (found >= 0) {
            best.solved = true;
            best.frames = nodes[found].frames;
            best.record = recordOf(nodes, found);
            frameLimit = best.frames - 1; // only a shorter run is worth finding now
        } else if (found == Exhausted && !best.solved) {
            break; // the other weights would search the same places again
        }
        if (Clock::now() > deadline) break;
    }
    return best;
}
