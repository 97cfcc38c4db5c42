#pragma once
// Where the play scene's title, time, bars and best texts stand, in view units (the 800 x 600
// view, y up): at a stage's start camera a line inside it runs under them. The editor outlines
// it, the shipped stages keep it clear, and tools/design_stages.py reads these four numbers.
#include "core/stage/Geometry.h"

inline constexpr Rect HeadsUpBand(-290.0f, 135.0f, 290.0f, 245.0f);
