#include "game/WallClearance.h"

#include "game/GoalDistance.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr double CellSize = 16.0;
const double HalfDiagonal = CellSize * std::sqrt(0.5);
} // namespace

WallClearance::WallClearance(const Stage& stage) {
    for (const Segment& s : stage.segments)
        if (s.kind == WALL) {
            const Vec2 a = stage.points[s.low], b = stage.points[s.high];
            walls_.push_back({a.x, a.y, double(b.x) - a.x, double(b.y) - a.y, std::min(a.x, b.x),
                              std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y)});
            unknown_ = unknown_ || !std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) ||
                       !std::isfinite(b.y);
        }
}

double WallClearance::at(Vec2 p) {
    constexpr std::int64_t Far = std::int64_t(1) << 30;
    const std::int64_t cx = clampedFloor(p.x / CellSize, -Far, Far),
                       cy = clampedFloor(p.y / CellSize, -Far, Far);
    if (unknown_ || !std::isfinite(p.x) || !std::isfinite(p.y) || std::abs(cx) >= Far || std::abs(cy) >= Far)
        return 0;
    const auto [it, added] = cells_.try_emplace(std::uint64_t(cx + Far) << 32 | std::uint64_t(cy + Far), 0.0);
    if (!added) return it->second;
    const double x = (double(cx) + 0.5) * CellSize, y = (double(cy) + 0.5) * CellSize;
    double nearest = std::numeric_limits<double>::infinity();
    for (const Wall& w : walls_)
        nearest = std::min(nearest, squaredDistance(w, x, y));
    // Anything in the cell is within half its diagonal of the centre.
    it->second = std::max(std::sqrt(nearest) - HalfDiagonal, 0.0);
    return it->second;
}

void WallClearance::gatherNear(Vec2 centre, double radius) {
    near_.clear();
    for (const Wall& w : walls_)
        if (unknown_ || !(squaredDistance(w, centre.x, centre.y) > radius * radius)) near_.push_back(w);
}

bool WallClearance::gatheredNear(Vec2 p, Vec2 q, double room) const {
    if (unknown_) return true;
    const double px = p.x, py = p.y, qx = double(q.x) - px, qy = double(q.y) - py;
    const Wall bar{px, py, qx, qy, 0, 0, 0, 0};
    const double reach = (room + 1.0) * (room + 1.0);
    const auto turn = [](double ax, double ay, double bx, double by) { return ax * by - ay * bx; };
    // A wall whose box lies farther than the reach (and a unit more for rounding) from the bar's
    // box can neither cross the bar nor come within its room: most of the gathered ones, most frames.
    const double out = room + 2.0;
    const double left = std::min(px, px + qx) - out, right = std::max(px, px + qx) + out;
    const double bottom = std::min(py, py + qy) - out, top = std::max(py, py + qy) + out;
    for (const Wall& wall : near_) {
        const Wall* w = &wall;
        // One branch for the four sides: which side keeps a wall out is unpredictable.
        if ((w->right < left) | (w->left > right) | (w->top < bottom) | (w->bottom > top)) continue;
        // Crossing: each segment's ends on both sides of the other (or on it).
        const double o1 = turn(w->dx, w->dy, px - w->ax, py - w->ay);
        const double o2 = turn(w->dx, w->dy, px + qx - w->ax, py + qy - w->ay);
        const double o3 = turn(qx, qy, w->ax - px, w->ay - py);
        const double o4 = turn(qx, qy, w->ax + w->dx - px, w->ay + w->dy - py);
        const auto apart = [](double a, double b) { return (a > 0 && b > 0) || (a < 0 && b < 0); };
        if (!apart(o1, o2) && !apart(o3, o4)) return true;
        if (squaredDistance(*w, px, py) < reach || squaredDistance(*w, px + qx, py + qy) < reach ||
            squaredDistance(bar, w->ax, w->ay) < reach ||
            squaredDistance(bar, w->ax + w->dx, w->ay + w->dy) < reach)
            return true;
    }
    return false;
}
