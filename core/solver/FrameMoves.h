#pragma once
// The machine's moves: any input on any frame, one frame a step. It finds the shortest routes
// a stage allows, whether or not a hand could play them.
#include "core/solver/RouteSearch.h"

// A weighted A* search over single frames within `frameLimit` frames; as RouteSearch::run.
std::int32_t searchFrameByFrame(RouteSearch& search, float weight, std::int32_t frameLimit);
