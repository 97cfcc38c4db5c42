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
            walls_.push_back({a.x, a.y, double(b.x) - a.x, double(b.y) - a.y});
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
    for (const Wall& w : walls_) {
        const double wx = x - w.ax, wy = y - w.ay, lengthSquared = w.dx * w.dx + w.dy * w.dy;
        const double t =
            lengthSquared > 0 ? std::clamp((wx * w.dx + wy * w.dy) / lengthSquared, 0.0, 1.0) : 0.0;
        nearest = std::min(nearest, std::hypot(wx - t * w.dx, wy - t * w.dy));
    }
    // Anything in the cell is within half its diagonal of the centre.
    it->second = std::max(nearest - HalfDiagonal, 0.0);
    return it->second;
}
