#pragma once
// The view record: which stage point sits at the screen centre and how many stage units one
// logical screen unit spans. Pure data, so the stage (which stores a start camera) stays headless.
#include "stage/Geometry.h"

struct Camera {
    float x = 0.0f;
    float y = 0.0f;
    float zoom = 1.0f;
};

inline constexpr Camera DefaultCamera{0.0f, 0.0f, 1.0f};

// The stage point shown at view point v under camera c. Each product is rounded to float
// before the addition, exactly as the projection maps it.
inline Vec2 screenToWorld(Vec2 v, const Camera& c) {
    const float dx = c.zoom * v.x;
    const float dy = c.zoom * v.y;
    return {c.x + dx, c.y + dy};
}
