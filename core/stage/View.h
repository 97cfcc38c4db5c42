#pragma once
// The logical screen every picture is laid out on: 800 x 600 units, origin at the centre,
// x to the right, y up. The window letterboxes it at a uniform scale.
#include "core/stage/Geometry.h"

inline constexpr int ViewWidth = 800;
inline constexpr int ViewHeight = 600;
inline constexpr Rect ViewRect(-ViewWidth / 2.0f, -ViewHeight / 2.0f, ViewWidth / 2.0f, ViewHeight / 2.0f);

// Where the view lands in the window's drawable pixels, and its scale.
struct Viewport {
    int x = 0, y = 0, width = 0, height = 0;
    float scale = 1.0f;
};

// The largest 4:3 area centred in the client, with black bars on the other sides.
Viewport ComputeViewport(int viewWidth, int viewHeight, int baseWidth, int baseHeight);

// The largest drawable a side that the game asks for: larger surfaces have crashed software
// renderers in their buffer swap. Less where the renderer's own viewport limit is smaller.
inline constexpr int MaxSurfaceSide = 16384;

// MaxSurfaceSide, or the smaller of the renderer's two viewport limits when it reports them
// (values of 0 or below mean it did not).
int surfaceSideLimit(int maxViewportWidth, int maxViewportHeight);
