#pragma once
// Plain 2D value types shared by the stage, the bar and the renderer. No graphics here.

struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;
};

inline Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec2& operator+=(Vec2& a, Vec2 b) {
    a.x += b.x;
    a.y += b.y;
    return a;
}
inline bool operator==(Vec2 a, Vec2 b) {
    return a.x == b.x && a.y == b.y;
}

// Axis-aligned rectangle; always normalised, centre stored rather than computed on use.
struct Rect {
    float left = 0.0f, bottom = 0.0f, right = 0.0f, top = 0.0f, centerX = 0.0f, centerY = 0.0f;

    Rect() = default;
    constexpr Rect(Vec2 a, Vec2 b) : Rect(a.x, a.y, b.x, b.y) {}
    constexpr Rect(float x0, float y0, float x1, float y1)
        : left(x0 < x1 ? x0 : x1), bottom(y0 < y1 ? y0 : y1), right(x0 < x1 ? x1 : x0),
          top(y0 < y1 ? y1 : y0), centerX((left + right) * 0.5f), centerY((bottom + top) * 0.5f) {}

    // Strictly inside: a point on the border is outside, as every hit test of the game wants.
    bool containsStrictly(Vec2 p) const { return left < p.x && p.x < right && bottom < p.y && p.y < top; }
    // Sharing at least a border point.
    bool overlaps(const Rect& r) const {
        return left <= r.right && r.left <= right && bottom <= r.top && r.bottom <= top;
    }
};

// True when the closed segments PQ and AB share a point. Parallel segments (including a
// zero-length one) never do. Both parameter ranges are inclusive; no tolerance is added.
bool segmentsIntersect(Vec2 p, Vec2 q, Vec2 a, Vec2 b);

// Distance from p to the nearest point of segment ab (a point when a == b).
float distanceToSegment(Vec2 p, Vec2 a, Vec2 b);
