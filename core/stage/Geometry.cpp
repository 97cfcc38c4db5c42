#include "core/stage/Geometry.h"

#include <algorithm>
#include <cmath>

bool segmentsIntersect(Vec2 p, Vec2 q, Vec2 a, Vec2 b) {
    // Differences of floats are exact in double, so only the products round.
    const double rx = double(q.x) - p.x, ry = double(q.y) - p.y;
    const double sx = double(b.x) - a.x, sy = double(b.y) - a.y;
    const double wx = double(p.x) - a.x, wy = double(p.y) - a.y;
    const double d = sy * rx - ry * sx;
    if (d == 0.0) return false;
    const double t = (sx * wy - sy * wx) / d;
    const double u = (rx * wy - wx * ry) / d;
    return t >= 0.0 && t <= 1.0 && u >= 0.0 && u <= 1.0;
}

float distanceToSegment(Vec2 p, Vec2 a, Vec2 b) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float lengthSquared = dx * dx + dy * dy;
    const float t = lengthSquared > 0
                        ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0f, 1.0f)
                        : 0.0f;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}
