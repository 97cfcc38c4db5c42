#pragma once
// How far a point is from the nearest wall, at least: the playable search asks it once per step
// so that it can skip the exact test of a bar that is far from every wall. Filled in lazily, a
// grid cell at a time, as the search visits places.
#include "stage/Stage.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

class WallClearance {
public:
    explicit WallClearance(const Stage& stage);
    // A distance no wall comes closer than to p (0 when nothing is known).
    double at(Vec2 p);

private:
    struct Wall {
        double ax, ay, dx, dy;
    };
    std::vector<Wall> walls_;
    bool unknown_ = false; // a wall that is not finite: no distance can be trusted
    std::unordered_map<std::uint64_t, double> cells_;
};
