#pragma once
// What a route asks of the hand that plays it: how far apart its clicks are, and whether it still
// clears when a click comes a frame or two early or late. The solver checks its routes with it,
// and the shipped routes are held to it.
#include "core/game/Attempt.h"
#include "core/game/InputRecord.h"
#include "core/stage/Stage.h"

#include <cstddef>
#include <vector>

inline constexpr int MinFastGap = 6; // frames between two changes of the fast button, at least

struct RouteTiming {
    int switches = 0;
    int smallestGap = 0;     // frames between the closest two switches; 0 with fewer than two
    int smallestFastGap = 0; // the same for changes of the fast button
};

std::vector<InputFlags> framesOf(InputRecord record);
InputRecord recordOf(const std::vector<InputFlags>& frames);
RouteTiming timingOf(const std::vector<InputFlags>& frames);

// The largest k up to maxShift such that moving any one switch by any amount up to k frames
// (either way) still clears within the time limit; 0 when some switch moved one frame breaks
// it. After its last input the route plays on with the fast button as it was left.
int slackOf(const Stage& stage, const std::vector<InputFlags>& frames, int maxShift);
// The same for each switch alone, in the route's order: how far it may slip either way (up to
// maxShift) while every other switch stays where it is.
std::vector<int> forgivenessOf(const Stage& stage, const std::vector<InputFlags>& frames, int maxShift);

// Frames a changed route may play on after its inputs: a turn and a half of the bar.
inline constexpr std::size_t PlayOn = 270;

// A route as it played from the start: the pose before each frame, up to the frame that ended
// it, if any. A changed route plays as this one did up to its first changed frame.
struct PlayedRoute {
    std::vector<BarPose> poses;
    bool cleared = false;
};
// The attempt must stand at the stage's start (new, or restarted).
PlayedRoute playRoute(Attempt& attempt, const std::vector<InputFlags>& frames);
// Whether `frames`, which match the played route before frame `first`, clear: play starts from
// the route's pose there (or ends as the route did when it ended first) and goes on for PlayOn
// frames after the inputs with the fast button as it was left.
bool clearsFrom(Attempt& attempt, const PlayedRoute& route, const std::vector<InputFlags>& frames,
                std::size_t first);
