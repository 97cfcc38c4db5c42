#pragma once
// How far a point is from the nearest wall, at least, and which walls come near it: the playable
// search asks once per step, so that each frame of the step tests the bar against those few
// walls only and runs the exact test (LineGrid::wallNear) only where one may be close. The
// distances are filled in lazily, a grid cell at a time, as the search visits places.
#include "core/stage/Stage.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

class WallClearance {
public:
    explicit WallClearance(const Stage& stage);
    // A distance no wall comes closer than to p (0 when nothing is known).
    double at(Vec2 p);
    // Whether every wall is finite, so that distances can be trusted at all.
    bool trusted() const { return !unknown_; }
    // Keeps the walls that come within `radius` of `centre`, marking those within `innerRadius`,
    // and the other lines (goals) within `innerRadius`; whether any wall is kept. Everything is
    // kept when nothing is known.
    bool gatherNear(Vec2 centre, double radius, double innerRadius);
    // Whether one of the gathered walls may come within `room` of the segment pq: never false
    // when one does, with a unit to spare for the exact test's rounding.
    bool gatheredNear(Vec2 p, Vec2 q, double room) const;
    // How far the segment pq is from the nearest marked wall, and from the nearest marked wall
    // or gathered other line: infinity where there is none, 0 when nothing is known.
    struct Distances {
        double toWall, toLine;
    };
    Distances innerDistances(Vec2 p, Vec2 q) const;

private:
    struct Wall {
        double ax, ay, dx, dy;
        double left, right, bottom, top; // the box around it
    };
    static Wall segment(Vec2 a, Vec2 b);
    static double squaredDistance(const Wall& w, double x, double y) {
        const double wx = x - w.ax, wy = y - w.ay, lengthSquared = w.dx * w.dx + w.dy * w.dy;
        const double t =
            lengthSquared > 0 ? std::clamp((wx * w.dx + wy * w.dy) / lengthSquared, 0.0, 1.0) : 0.0;
        const double ex = wx - t * w.dx, ey = wy - t * w.dy;
        return ex * ex + ey * ey;
    }
    // 0 where the two cross or touch.
    static double squaredDistance(const Wall& w, const Wall& bar);
    std::vector<Wall> near_; // copies, side by side: the search reads them every frame
    std::size_t inner_ = 0;  // the first so many of them lie within the inner radius
    std::vector<Wall> nearOthers_;
    std::vector<Wall> walls_;
    std::vector<Wall> others_;
    bool unknown_ = false; // a wall that is not finite: no distance can be trusted
    std::unordered_map<std::uint64_t, double> cells_;
};
