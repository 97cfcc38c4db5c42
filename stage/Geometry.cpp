#include "stage/Geometry.h"

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
