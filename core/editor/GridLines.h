#pragma once
// The snap grid's lines that a camera shows, counted in whole numbers. A stage file can put the
// camera billions of units out or give it any zoom; there a float counter stops advancing (one
// added to 2^24 is still 2^24) and a spacing found by repeated scaling never arrives, so the
// range is worked out once and capped instead.
#include "core/stage/Camera.h"
#include "core/stage/Geometry.h"

#include <cstdint>

// Lines at (first + i) * step for i below count, on each axis; no lines at all when step is 0.
struct GridLines {
    double step = 0.0;
    std::int64_t firstX = 0, countX = 0;
    std::int64_t firstY = 0, countY = 0;

    std::int64_t count() const { return countX + countY; }
};

// More than a screen ever needs at the spacings gridLines picks; a request beyond it gets none.
inline constexpr std::int64_t MaxGridLines = 400;

// The lines of the grid with `step` (multiplied by five until neighbours lie at least
// `minSpacing` view units apart) that cross `view` seen through `cam`. None where the camera
// shows nothing sensible (a zoom not above zero, a position or zoom not finite), where floats
// there cannot keep neighbouring lines apart, or where more than MaxGridLines would be needed.
GridLines gridLines(const Camera& cam, const Rect& view, float step, float minSpacing);
