#pragma once
// A person's moves: one click a step, clicks at least the search's minimum gap apart, the fast
// button changed at most every MinFastGap frames, and the bar kept clear of the walls by a
// margin plus how far a click a frame off would move it, so that the route found is one a hand
// can play.
#include "core/solver/RouteSearch.h"

// What the route found must grant the hand that plays it.
struct PlayableRules {
    float margin; // kept from every wall, beyond the drift of a click that slips
    int minGap;   // frames between two clicks, at least
    int slip;     // frames a click may come early or late: the drift kept clear grows with it
};

// A weighted A* search over such clicks within `frameLimit` frames; as RouteSearch::run.
std::int32_t searchPlayable(RouteSearch& search, float weight, const PlayableRules& rules,
                            std::int32_t frameLimit);
