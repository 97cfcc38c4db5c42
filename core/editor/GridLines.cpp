#include "core/editor/GridLines.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {
// Neighbouring lines at least this many float steps apart, so rounding moves none visibly.
constexpr double MinFloatStepsApart = 4.0;

// How many lines of spacing `step` lie in [low, high]; `first` is the lowest one's index.
std::int64_t linesWithin(double low, double high, double step, std::int64_t& first) {
    const double from = std::ceil(low / step), to = std::floor(high / step);
    if (!(to >= from)) return 0;
    first = std::int64_t(from);
    return std::int64_t(to - from) + 1;
}
} // namespace

GridLines gridLines(const Camera& cam, const Rect& view, float step, float minSpacing) {
    const double zoom = cam.zoom;
    if (!(zoom > 0.0 && zoom <= FLT_MAX) || !(step > 0.0f)) return {};
    const double left = cam.x + zoom * view.left, right = cam.x + zoom * view.right;
    const double bottom = cam.y + zoom * view.bottom, top = cam.y + zoom * view.top;
    const double farthest = std::max({std::fabs(left), std::fabs(right), std::fabs(bottom), std::fabs(top)});
    if (!(farthest <= FLT_MAX)) return {}; // also NaN
    GridLines grid;
    grid.step = step;
    // Bounded: the zoom is finite, so a few dozen factors of five pass any spacing it asks for.
    while (grid.step < double(minSpacing) * zoom)
        grid.step *= 5.0;
    const float edge = float(farthest);
    const double floatStep = double(std::nextafter(edge, INFINITY)) - double(edge);
    if (!(grid.step >= MinFloatStepsApart * floatStep)) return {};
    // The lines are now at most 2^22 steps from the origin, well inside the integer's range.
    grid.countX = linesWithin(left, right, grid.step, grid.firstX);
    grid.countY = linesWithin(bottom, top, grid.step, grid.firstY);
    if (grid.count() > MaxGridLines) return {};
    return grid;
}
