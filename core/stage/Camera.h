#pragma once
// The view record: which stage point sits at the screen centre and how many stage units one
// logical screen unit spans. Pure data, so the stage (which stores a start camera) stays headless.
#include "core/stage/Geometry.h"

struct Camera {
    float x = 0.0f;
    float y = 0.0f;
    float zoom = 1.0f;
};

inline constexpr Camera DefaultCamera{0.0f, 0.0f, 1.0f};

// The zooms the editor makes: anything a view takes from a stage file is brought into this range.
inline constexpr float MinCameraZoom = 0.1f;
inline constexpr float MaxCameraZoom = 5.0f;

// A stage file may hold any finite zoom, and one of zero or below would show nothing or the
// stage mirrored (and the editor's grid would never find its spacing): those become 1, the
// rest is clamped to the editor's range. NaN becomes 1 as well.
inline float sanitizedZoom(float zoom) {
    if (!(zoom > 0.0f)) return 1.0f;
    return zoom < MinCameraZoom ? MinCameraZoom : zoom > MaxCameraZoom ? MaxCameraZoom : zoom;
}

// The stage point shown at view point v under camera c. Each product is rounded to float
// before the addition, exactly as the projection maps it.
inline Vec2 screenToWorld(Vec2 v, const Camera& c) {
    const float dx = c.zoom * v.x;
    const float dy = c.zoom * v.y;
    return {c.x + dx, c.y + dy};
}
