#include "core/solver/WallClearance.h"

#include "core/solver/GoalDistance.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr double CellSize = 16.0;
const double HalfDiagonal = CellSize * std::sqrt(0.5);
} // namespace

WallClearance::WallClearance(const Stage& stage) {
    for (const Segment& s : stage.segments)
        if (s.kind != FreeSegment) {
            const Vec2 a = stage.points[s.low], b = stage.points[s.high];
            (s.kind == WALL ? walls_ : others_).push_back(segment(a, b));
            unknown_ = unknown_ || !std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) ||
                       !std::isfinite(b.y);
        }
}

WallClearance::Wall WallClearance::segment(Vec2 a, Vec2 b) {
    return {a.x,
            a.y,
            double(b.x) - a.x,
            double(b.y) - a.y,
            std::min(a.x, b.x),
            std::max(a.x, b.x),
            std::min(a.y, b.y),
            std::max(a.y, b.y)};
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

bool WallClearance::gatherNear(Vec2 centre, double radius, double innerRadius) {
    near_.clear();
    nearOthers_.clear();
    inner_ = 0;
    const auto within = [&](const Wall& w, double r) {
        return unknown_ || !(squaredDistance(w, centre.x, centre.y) > r * r);
    };
    if (at(centre) <= radius)
        for (const Wall& w : walls_) {
            if (!within(w, radius)) continue;
            near_.push_back(w);
            if (within(w, innerRadius)) std::swap(near_[inner_++], near_.back());
        }
    for (const Wall& w : others_)
        if (within(w, innerRadius)) nearOthers_.push_back(w);
    return !near_.empty();
}

double WallClearance::squaredDistance(const Wall& w, const Wall& bar) {
    const auto turn = [](double ax, double ay, double bx, double by) { return ax * by - ay * bx; };
    // Crossing: each segment's ends on both sides of the other (or on it). Segments on one line
    // are as far apart as their nearest ends.
    const double o1 = turn(w.dx, w.dy, bar.ax - w.ax, bar.ay - w.ay);
    const double o2 = turn(w.dx, w.dy, bar.ax + bar.dx - w.ax, bar.ay + bar.dy - w.ay);
    const double o3 = turn(bar.dx, bar.dy, w.ax - bar.ax, w.ay - bar.ay);
    const double o4 = turn(bar.dx, bar.dy, w.ax + w.dx - bar.ax, w.ay + w.dy - bar.ay);
    const auto apart = [](double a, double b) { return (a > 0 && b > 0) || (a < 0 && b < 0); };
    const bool inLine = o1 == 0 && o2 == 0 && o3 == 0 && o4 == 0;
    if (!inLine && !apart(o1, o2) && !apart(o3, o4)) return 0;
    return std::min({squaredDistance(w, bar.ax, bar.ay), squaredDistance(w, bar.ax + bar.dx, bar.ay + bar.dy),
                     squaredDistance(bar, w.ax, w.ay), squaredDistance(bar, w.ax + w.dx, w.ay + w.dy)});
}

bool WallClearance::gatheredNear(Vec2 p, Vec2 q, double room) const {
    if (unknown_) return true;
    const Wall bar = segment(p, q);
    // A wall whose box lies farther than the reach (and a unit more for rounding) from the bar's
    // box can neither cross the bar nor come within its room: most of the gathered ones, most frames.
    const double out = room + 2.0;
    const double left = bar.left - out, right = bar.right + out, bottom = bar.bottom - out,
                 top = bar.top + out;
    for (const Wall& w : near_) {
        // One branch for the four sides: which side keeps a wall out is unpredictable.
        if ((w.right < left) | (w.left > right) | (w.top < bottom) | (w.bottom > top)) continue;
        if (squaredDistance(w, bar) < (room + 1.0) * (room + 1.0)) return true;
    }
    return false;
}

WallClearance::Distances WallClearance::innerDistances(Vec2 p, Vec2 q) const {
    if (unknown_) return {0, 0};
    const Wall bar = segment(p, q);
    // Boxes farther apart than the nearest line found so far hold no nearer one.
    const auto nearest = [&](const Wall* first, const Wall* last, double best) {
        for (const Wall* w = first; w != last; ++w) {
            const double gx = std::max({0.0, w->left - bar.right, bar.left - w->right});
            const double gy = std::max({0.0, w->bottom - bar.top, bar.bottom - w->top});
            if (gx * gx + gy * gy < best) best = std::min(best, squaredDistance(*w, bar));
        }
        return best;
    };
    const double toWall =
        nearest(near_.data(), near_.data() + inner_, std::numeric_limits<double>::infinity());
    const double toLine = nearest(nearOthers_.data(), nearOthers_.data() + nearOthers_.size(), toWall);
    return {std::sqrt(toWall), std::sqrt(toLine)};
}
