#pragma once
// Proof, before any search, that no route can exist. The bar never touches a wall and each
// frame's bar shares a point with the last, so every bar of an attempt lies in the part of the
// plane, cut by the walls, that holds the start; and a clearing bar's pivot lies there too.
// When the walls close that part off and every goal lies beyond a bar's length of it, no input
// clears. The proof only answers "hopeless" when it is sure: a doubtful crossing, a hair-wide gap
// or a start touching a wall leave the question to the search.
#include "core/stage/Stage.h"

enum class Hopeless {
    No,       // not proven: a route may exist
    NoGoal,   // the stage has no goal line
    WalledIn, // the walls close the start off from every goal
};

Hopeless provenHopeless(const Stage& stage);
