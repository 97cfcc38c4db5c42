#pragma once
// The logical screen every picture is laid out on: 800 x 600 units, origin at the centre,
// x to the right, y up. The window letterboxes it at a uniform scale.
#include "stage/Geometry.h"

inline constexpr int ViewWidth = 800;
inline constexpr int ViewHeight = 600;
inline constexpr Rect ViewRect(-ViewWidth / 2.0f, -ViewHeight / 2.0f, ViewWidth / 2.0f, ViewHeight / 2.0f);
