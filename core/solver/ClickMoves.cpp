#include "core/solver/ClickMoves.h"

#include "core/solver/TurnBound.h"

#include "core/game/GameConstants.h"
#include "core/solver/RouteCheck.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr StateGrain ClickGrain{8.0f, 60}; // 8 units, 6-degree bins: a hand tolerates a few units
// A person's route never hangs on one frame: it tries clicks (and letting go of the fast
// button) every other frame only, which halves the work of each step.
constexpr int Stride = 2;

constexpr float Directions[8][2] = {{1, 0},  {0.7071f, 0.7071f},   {0, 1},  {-0.7071f, 0.7071f},
                                    {-1, 0}, {-0.7071f, -0.7071f}, {0, -1}, {0.7071f, -0.7071f}};

// A click a frame early or late turns the rest of the route, as a whole, about the point where
// it was made, by twice the frame's step: the dynamics do not care which way the stage faces.
// So a bar at distance D from that point is off by about D times that angle. The person's
// search clicks only at the slow speed (with the fast button let go at least MinFastGap frames
// before), which halves the angle.
constexpr float ClickTurnError = 2 * Bar::SlowStep;

// The largest squared distance from p to the clicks so far (0 before the first).
double farthestSquared(const RouteNode& node, Vec2 p) {
    if (!node.clicked) return 0.0;
    double farthest = 0.0;
    for (const Vec2& c : node.outerClicks) {
        const float dx = p.x - c.x, dy = p.y - c.y;
        farthest = std::max(farthest, double(dx) * dx + double(dy) * dy);
    }
    return farthest;
}

// The drift of a point that far from the farthest click: the largest square first and one root
// after, as the root and the rounding to float keep order.
float driftAt(double farthestSquared) {
    return ClickTurnError * float(std::sqrt(farthestSquared));
}

// The part of that drift across a line running along the unit vector `along`: the turn moves p
// at right angles to where it lies from the click, so only its distance from the click measured
// along the line counts.
float driftAcross(const RouteNode& node, Vec2 p, Vec2 along) {
    if (!node.clicked) return 0.0f;
    float farthest = 0.0f;
    for (const Vec2& c : node.outerClicks)
        farthest = std::max(farthest, std::fabs((p.x - c.x) * along.x + (p.y - c.y) * along.y));
    return ClickTurnError * farthest;
}

void addClick(RouteNode& next, Vec2 clickPoint) {
    for (int k = 0; k < 8; ++k) {
        const Vec2& c = next.outerClicks[std::size_t(k)];
        const auto along = [&](Vec2 v) { return v.x * Directions[k][0] + v.y * Directions[k][1]; };
        if (!next.clicked || along(clickPoint) > along(c)) next.outerClicks[std::size_t(k)] = clickPoint;
    }
    next.clicked = true;
}

// The bar's free end as the frame just played left it: stepping records it in the trail, and
// reading it back there spares a second sine and cosine of the same angle, with the same bits.
// Every use below comes right after Attempt::advance, never straight after a resume.
Vec2 freeEndAfterStep(const Attempt& attempt) {
    return attempt.bar().trail().front().freeEnd;
}
} // namespace

std::int32_t searchPlayable(RouteSearch& search, float weight, const PlayableRules& rules,
                            std::int32_t frameLimit) {
    Attempt& attempt = search.attempt();
    const float margin = rules.margin, slip = float(rules.slip);
    const int minGap = rules.minGap, lead = rules.slip > 1 ? rules.slip : 0;
    // The room kept from walls, and from a goal's ends when it is reached: the margin plus how
    // far a click one frame off would have moved the bar.
    const auto roomAt = [&](double farthestSquared) { return margin + slip * driftAt(farthestSquared); };
    // The larger drift of p and q is the drift of the farther square.
    const auto room = [&](const RouteNode& node, Vec2 p, Vec2 q) {
        return roomAt(std::max(farthestSquared(node, p), farthestSquared(node, q)));
    };
    // A step's bars all lie within two bar lengths of where it starts (one, until its click), so
    // only the walls that near come into question; a frame tests the bar against those few and
    // runs the exact test only where one may be close.
    bool nearWalls = true; // whether any bar of the step might come within its room of a wall
    float largestRoom = 0; // the most room any bar of the step can need
    // Until its click a step's bar turns about the step's start, so only the walls within its
    // length and room of the start can come near it, and one distance measured at one angle
    // bounds it at the angles around.
    Vec2 start;
    bool exactEnough = false; // whether the start is near enough the origin for that to hold
    float turningRoom = 0;    // the most room a bar turning about the start can need
    double startFarthest = 0; // the squared distance from the start to the farthest click
    TurnBound bound(BarLength);
    const auto turning = [&] { return exactEnough && attempt.bar().pivot() == start; };
    const auto measure = [&](float angle) {
        const auto distances = search.clearance.innerDistances(start, freeEndAfterStep(attempt));
        bound.measured(angle, distances.toWall, distances.toLine);
    };
    // How far a click's bar keeps from every wall, and from every line, at least, as the bound
    // of the bar it came from tells (nothing for other bars).
    double clickWallSpare = 0, clickLineSpare = 0;
    const auto play = [&](InputFlags input) {
        const bool fromTurning = turning();
        const float before = attempt.bar().angle().value();
        attempt.step(input);
        clickWallSpare = clickLineSpare = -std::numeric_limits<double>::infinity();
        if (input.switchPivot) {
            if (!fromTurning) return attempt.judge();
            // The old free end becomes the pivot and the bar turns a frame's step about it, so
            // no point of it lies farther than its length times that step (and a little
            // rounding) from the bar it came from.
            const double moved = BarLength * (input.fast ? Bar::FastStep : Bar::SlowStep) + 0.5;
            clickWallSpare = bound.toWall(before) - moved;
            clickLineSpare = bound.toLine(before) - moved;
            return clickLineSpare > 0 ? attempt.judgeUntouched() : attempt.judge();
        }
        if (!turning()) return attempt.judge();
        const float angle = attempt.bar().angle().value();
        if (!(bound.toLine(angle) > 0)) measure(angle);
        return bound.toLine(angle) > 0 ? attempt.judgeUntouched() : attempt.judge();
    };
    const auto tooClose = [&](const RouteNode& node) {
        if (!nearWalls) return false;
        const Vec2 p = attempt.bar().pivot(), q = freeEndAfterStep(attempt);
        if (turning()) {
            const float angle = attempt.bar().angle().value();
            if (bound.toWall(angle) >= turningRoom + 1.0) return false;
            const float r = roomAt(std::max(startFarthest, farthestSquared(node, q)));
            if (!(r > 0) || bound.toWall(angle) >= r + 1.0) return false;
            if (!bound.measuredAt(angle)) measure(angle);
            // The measured distance is the exact test's own up to rounding far below this
            // band: it decides unless it lies in the band.
            constexpr double Band = 0.01;
            const double distance = bound.measuredToWall();
            return distance < r + Band && (distance < r - Band || attempt.lines().wallNear(p, q, r));
        }
        if (clickWallSpare >= largestRoom + 1.0) return false;
        if (!search.clearance.gatheredNear(p, q, largestRoom)) return false;
        // The bar's own room is often much less than the step's largest: asked again with it,
        // the few gathered walls spare most exact tests.
        const float r = room(node, p, q);
        return r > 0 && clickWallSpare < r + 1.0 && search.clearance.gatheredNear(p, q, r) &&
               attempt.lines().wallNear(p, q, r);
    };
    // A goal reached with room: its ends out of the bar's way by the room, and the pivot close
    // enough that, moved across the goal by a click a frame off, the turning bar still reaches it.
    const auto wellInGoal = [&](const RouteNode& node) {
        const Vec2 p = attempt.bar().pivot(), q = freeEndAfterStep(attempt);
        const float r = room(node, p, q);
        return attempt.lines().crossesGoal(p, q, [&](Vec2 a, Vec2 b) {
            const float length = std::hypot(b.x - a.x, b.y - a.y);
            if (length == 0) return false;
            const Vec2 along{(b.x - a.x) / length, (b.y - a.y) / length};
            return distanceToSegment(a, p, q) >= r && distanceToSegment(b, p, q) >= r &&
                   distanceToSegment(p, a, b) + margin + slip * driftAcross(node, p, along) <= BarLength;
        });
    };
    return search.run(weight, ClickGrain, [&](std::int32_t current) {
        const RouteNode node = search.nodes[std::size_t(current)];
        // The largest room any bar of the step can need: the click it may add lies a bar's
        // length out, and the bar within two of the start.
        start = node.pose.pivot;
        startFarthest = farthestSquared(node, start);
        const float startDrift = driftAt(startFarthest);
        const float farthestClick = std::max(startDrift / ClickTurnError, BarLength);
        largestRoom = margin + slip * ClickTurnError * (farthestClick + 2 * BarLength);
        // Before its click the bar lies within a bar's length of the start.
        turningRoom = margin + slip * (startDrift + ClickTurnError * BarLength);
        // A unit to spare for the rounding of a float bar, which holds within the grid's reach.
        nearWalls = search.clearance.gatherNear(start, 2 * BarLength + largestRoom + 1.0,
                                                BarLength + turningRoom + 1.0);
        exactEnough = search.clearance.trusted() && std::fabs(start.x) <= LineGrid::Reach &&
                      std::fabs(start.y) <= LineGrid::Reach;
        bound.forget();
        const auto step = [&](int length, int fastFrames, bool click) {
            RouteNode next = node;
            next.pose = attempt.bar().pose();
            next.frames = node.frames + length;
            next.parent = current;
            next.length = std::uint16_t(length);
            next.fastFrames = std::uint16_t(fastFrames);
            next.click = click;
            next.slowLead = std::uint16_t(fastFrames > 0 ? lead : 0);
            return next;
        };
        // A click ending a step of `length` frames: the clearing node's index when it clears,
        // else NoClear, offering the state it reaches unless one that looks the same was
        // reached as early (most, as steps cross).
        const auto click = [&](int length, int fastFrames) {
            const Vec2 clickPoint = freeEndAfterStep(attempt);
            const FrameOutcome outcome = play({false, true});
            const bool goal = outcome == FrameOutcome::Goal;
            if (!goal && (outcome != FrameOutcome::Continue ||
                          !search.wanted(attempt.bar().pose(), node.frames + length)))
                return NoClear;
            RouteNode next = step(length, fastFrames, true);
            addClick(next, clickPoint);
            if (goal) return wellInGoal(next) ? search.finish(next) : NoClear;
            if (!tooClose(next)) search.offer(next);
            return NoClear;
        };
        // Slow all the way: a click on any frame k from minGap on, from the pose after k - 1
        // frames. Beyond a whole turn after the earliest click, a later one repeats an earlier.
        const int turn = 180;
        attempt.resume(node.pose, frameLimit - node.frames);
        for (int k = 1; k <= minGap + turn; ++k) {
            if (k >= minGap && (k - minGap) % Stride == 0) {
                const BarPose before = attempt.bar().pose();
                const std::int32_t remaining = attempt.remaining();
                if (const std::int32_t found = click(k, 0); found >= 0) return found;
                attempt.resume(before, remaining);
            }
            const FrameOutcome outcome = play({false, false});
            if (outcome == FrameOutcome::Goal && wellInGoal(node)) return search.finish(step(k, 0, false));
            if (outcome != FrameOutcome::Continue || tooClose(node)) break;
        }
        // Fast for h frames, then let go for MinFastGap frames, the last with the click: the
        // button's changes stay MinFastGap apart from one step to the next. A click that comes
        // late plays the frames after it in the old sense; the drift reckons them slow, so a
        // route that must forgive more than a frame holds the button off that long after a click.
        attempt.resume(node.pose, frameLimit - node.frames);
        for (int i = 1; i <= lead; ++i) {
            const FrameOutcome outcome = play({false, false});
            if (outcome == FrameOutcome::Goal && wellInGoal(node)) return search.finish(step(i, 0, false));
            if (outcome != FrameOutcome::Continue || tooClose(node)) return NoClear;
        }
        const int shortestHead = std::max(MinFastGap, minGap - lead - MinFastGap);
        for (int h = 1; h <= shortestHead + turn / 2; ++h) {
            const FrameOutcome outcome = play({true, false});
            if (outcome == FrameOutcome::Goal && wellInGoal(node))
                return search.finish(step(lead + h, h, false));
            if (outcome != FrameOutcome::Continue || tooClose(node)) break;
            if (h < shortestHead || (h - shortestHead) % Stride != 0) continue;
            const BarPose before = attempt.bar().pose();
            const std::int32_t remaining = attempt.remaining();
            // Until the click the step's node stands for the frames: they add no click.
            bool open = true;
            for (int j = 1; open && j < MinFastGap; ++j) {
                const FrameOutcome tail = play({false, false});
                if (tail == FrameOutcome::Goal && wellInGoal(node))
                    return search.finish(step(lead + h + j, h, false));
                open = tail == FrameOutcome::Continue && !tooClose(node);
            }
            if (open)
                if (const std::int32_t found = click(lead + h + MinFastGap, h); found >= 0) return found;
            attempt.resume(before, remaining);
        }
        return NoClear;
    });
}
