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

// Geodesic distance (in stage units) from every grid cell to the nearest goal, walking around
// walls. It guides the search through mazes where straight-line distance would mislead it.
class DistanceField {
public:
    explicit DistanceField(const Stage& stage);
    float at(Vec2 p) const;

private:
    int cellIndex(Vec2 p) const;
    Vec2 centre(int cx, int cy) const {
        return {originX_ + (cx + 0.5f) * CellSize, originY_ + (cy + 0.5f) * CellSize};
    }

    float originX_ = 0, originY_ = 0;
    int width_ = 0, height_ = 0;
    std::vector<float> dist_;
};

bool wallBetween(const Stage& stage, Vec2 a, Vec2 b) {
    for (const Segment& s : stage.segments)
        if (s.kind == WALL && segmentsIntersect(a, b, stage.points[s.low], stage.points[s.high])) return true;
    return false;
}

DistanceField::DistanceField(const Stage& stage) {
    float minX = stage.initialPivot.x, maxX = minX, minY = stage.initialPivot.y, maxY = minY;
    for (int i = 0; i < MaxPoints; ++i) {
        if (!stage.holdsPoint(i)) continue;
        minX = std::min(minX, stage.points[i].x);
        maxX = std::max(maxX, stage.points[i].x);
        minY = std::min(minY, stage.points[i].y);
        maxY = std::max(maxY, stage.points[i].y);
    }
    constexpr float Margin = 120.0f;
    constexpr int MaxCells = 1024; // a larger stage just gets a coarser guide
    originX_ = minX - Margin;
    originY_ = minY - Margin;
    width_ = std::clamp(int((maxX - minX + 2 * Margin) / CellSize) + 1, 1, MaxCells);
    height_ = std::clamp(int((maxY - minY + 2 * Margin) / CellSize) + 1, 1, MaxCells);
    dist_.assign(std::size_t(width_) * height_, std::numeric_limits<float>::infinity());

    using Item = std::pair<float, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> open;
    for (const Segment& s : stage.segments) {
        if (s.kind != GOAL) continue;
        const Vec2 a = stage.points[s.low], b = stage.points[s.high];
        const float len = std::hypot(b.x - a.x, b.y - a.y);
        const int samples = int(len / (CellSize * 0.5f)) + 1;
        for (int k = 0; k <= samples; ++k) {
            const float t = float(k) / float(samples);
            const int c = cellIndex({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
            if (c >= 0 && dist_[c] > 0) {
                dist_[c] = 0;
                open.push({0.0f, c});
            }
        }
    }
    const int dx[] = {1, -1, 0, 0, 1, 1, -1, -1};
    const int dy[] = {0, 0, 1, -1, 1, -1, 1, -1};
    while (!open.empty()) {
        const auto [d, c] = open.top();
        open.pop();
        if (d > dist_[c]) continue;
        const int cx = c % width_, cy = c / width_;
        for (int k = 0; k < 8; ++k) {
            const int nx = cx + dx[k], ny = cy + dy[k];
            if (nx < 0 || ny < 0 || nx >= width_ || ny >= height_) continue;
            const float nd = d + (k < 4 ? CellSize : CellSize * 1.41421356f);
            const int n = ny * width_ + nx;
            if (nd >= dist_[n] || wallBetween(stage, centre(cx, cy), centre(nx, ny))) continue;
            dist_[n] = nd;
            open.push({nd, n});
        }
    }
}

int DistanceField::cellIndex(Vec2 p) const {
    const int cx = int(std::floor((p.x - originX_) / CellSize));
    const int cy = int(std::floor((p.y - originY_) / CellSize));
    if (cx < 0 || cy < 0 || cx >= width_ || cy >= height_) return -1;
    return cy * width_ + cx;
}

float DistanceField::at(Vec2 p) const {
    const int c = cellIndex(p);
    // Off the grid or cut off from every goal on the grid: still allowed, but last in line.
    if (c < 0 || !std::isfinite(dist_[c])) return 1.0e6f;
    return dist_[c];
}

struct Node {
    BarPose pose;
    std::int32_t frames;
    std::int32_t parent;
    std::uint8_t action; // bit 0 fast, bit 1 switch
};

std::uint64_t stateKey(const BarPose& pose) {
    const auto qx = std::int64_t(std::floor(pose.pivot.x / PivotQuantum)) & 0xFFFFFF;
    const auto qy = std::int64_t(std::floor(pose.pivot.y / PivotQuantum)) & 0xFFFFFF;
    const double turn = (double(pose.angle.value()) + 3.141592653589793) / 6.283185307179586;
    const auto qa = std::int64_t(std::floor(turn * AngleBins + 0.5)) % AngleBins;
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
                    std::vector<Node>& nodes, std::chrono::steady_clock::time_point deadline,
                    std::size_t maxNodes) {
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
        if ((++expanded & 0xFFF) == 0 && std::chrono::steady_clock::now() > deadline) return OutOfBudget;
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
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                      std::chrono::duration<double>(options.seconds));
    const DistanceField field(stage);
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
        if (std::chrono::steady_clock::now() > deadline) break;
    }
    return best;
}
