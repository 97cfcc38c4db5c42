#include "game/Solver.h"

#include "game/Attempt.h"
#include "game/GameConstants.h"
#include "game/RouteCheck.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <limits>
#include <queue>
#include <unordered_map>
#include <vector>

namespace {
// The pivot can advance at most about half the free end's fast speed (4.19 units per frame).
constexpr float MaxPivotSpeed = 2.1f;
constexpr float CellSize = 8.0f;     // grid of the distance field
constexpr float PivotQuantum = 3.0f; // the machine's search: 3 units, 2-degree bins
constexpr int AngleBins = 180;
constexpr float PersonPivotQuantum = 8.0f; // a person's: 8 units, 6-degree bins
constexpr int PersonAngleBins = 60;
// A person's route never hangs on one frame: it tries clicks (and letting go of the fast
// button) every other frame only, which halves the work of each step.
constexpr int PersonStride = 2;
constexpr int MaxCells = 1024; // grid cells a side; a larger stage is guided only near its points
constexpr float Margin = 120.0f;
constexpr int MaxSlack = 3;        // frames early or late the slack is measured up to
constexpr float MaxMargin = 40.0f; // beyond this from every wall no stage is worth a search
using Clock = std::chrono::steady_clock;

// floor(v) as an integer, with v clamped to [lo, hi] first (NaN to lo): stage coordinates may be
// anywhere up to 3.4e38, and converting a value beyond the integer's range is undefined.
std::int64_t clampedFloor(double v, std::int64_t lo, std::int64_t hi) {
    if (!(v >= double(lo))) return lo;
    if (v >= double(hi)) return hi;
    return std::int64_t(std::floor(v));
}

// Geodesic distance (in stage units) from every grid cell to the nearest goal, walking around
// walls. It guides the search through mazes where straight-line distance would mislead it.
// Building it stops at the deadline; cells not reached by then are simply unguided.
class DistanceField {
public:
    DistanceField(const Stage& stage, const LineGrid& lines, Clock::time_point deadline,
                  const std::atomic<bool>* cancel);
    float at(Vec2 p) const;

private:
    void seedGoal(Vec2 a, Vec2 b);
    void spread(const LineGrid& lines, Clock::time_point deadline, const std::atomic<bool>* cancel);
    int cellIndex(double x, double y) const;
    Vec2 centre(int cx, int cy) const {
        return {float(originX_ + (cx + 0.5) * CellSize), float(originY_ + (cy + 0.5) * CellSize)};
    }

    double originX_ = 0, originY_ = 0;
    int width_ = 0, height_ = 0;
    std::vector<float> dist_;
    std::vector<int> seeds_;
};

DistanceField::DistanceField(const Stage& stage, const LineGrid& lines, Clock::time_point deadline,
                             const std::atomic<bool>* cancel) {
    float minX = stage.initialPivot.x, maxX = minX, minY = stage.initialPivot.y, maxY = minY;
    for (int i = 0; i < MaxPoints; ++i) {
        if (!stage.holdsPoint(i)) continue;
        minX = std::min(minX, stage.points[i].x);
        maxX = std::max(maxX, stage.points[i].x);
        minY = std::min(minY, stage.points[i].y);
        maxY = std::max(maxY, stage.points[i].y);
    }
    originX_ = double(minX) - Margin;
    originY_ = double(minY) - Margin;
    width_ = int(clampedFloor((double(maxX) - minX + 2 * Margin) / CellSize, 0, MaxCells - 1)) + 1;
    height_ = int(clampedFloor((double(maxY) - minY + 2 * Margin) / CellSize, 0, MaxCells - 1)) + 1;
    dist_.assign(std::size_t(width_) * height_, std::numeric_limits<float>::infinity());
    for (const Segment& s : stage.segments)
        if (s.kind == GOAL) seedGoal(stage.points[s.low], stage.points[s.high]);
    spread(lines, deadline, cancel);
}

// Marks the cells along the part of the goal that lies on the grid; a goal billions of units
// long costs no more than one across the grid.
void DistanceField::seedGoal(Vec2 a, Vec2 b) {
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    double t0 = 0, t1 = 1;
    const auto clip = [&](double p, double q) { // Liang-Barsky: keep where p * t <= q
        if (p == 0) return q >= 0;
        const double t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    const double right = originX_ + double(width_) * CellSize, top = originY_ + double(height_) * CellSize;
    if (!clip(-dx, a.x - originX_) || !clip(dx, right - a.x) || !clip(-dy, a.y - originY_) ||
        !clip(dy, top - a.y))
        return;
    const double length = std::hypot(dx, dy) * (t1 - t0);
    const auto samples = int(clampedFloor(length / (CellSize * 0.5), 0, 4 * MaxCells)) + 1;
    for (int k = 0; k <= samples; ++k) {
        const double t = t0 + (t1 - t0) * k / samples;
        const int c = cellIndex(a.x + dx * t, a.y + dy * t);
        if (c >= 0 && dist_[std::size_t(c)] > 0) {
            dist_[std::size_t(c)] = 0;
            seeds_.push_back(c);
        }
    }
}

void DistanceField::spread(const LineGrid& lines, Clock::time_point deadline,
                           const std::atomic<bool>* cancel) {
    using Item = std::pair<float, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> open;
    for (int c : seeds_)
        open.push({0.0f, c});
    const int dx[] = {1, -1, 0, 0, 1, 1, -1, -1};
    const int dy[] = {0, 0, 1, -1, 1, -1, 1, -1};
    for (std::size_t popped = 0; !open.empty(); ++popped) {
        if ((popped & 0x3FF) == 0 && (Clock::now() > deadline || (cancel && cancel->load()))) return;
        const auto [d, c] = open.top();
        open.pop();
        if (d > dist_[std::size_t(c)]) continue;
        const int cx = c % width_, cy = c / width_;
        for (int k = 0; k < 8; ++k) {
            const int nx = cx + dx[k], ny = cy + dy[k];
            if (nx < 0 || ny < 0 || nx >= width_ || ny >= height_) continue;
            const float nd = d + (k < 4 ? CellSize : CellSize * 1.41421356f);
            const int n = ny * width_ + nx;
            if (nd >= dist_[std::size_t(n)] || lines.crossesWall(centre(cx, cy), centre(nx, ny))) continue;
            dist_[std::size_t(n)] = nd;
            open.push({nd, n});
        }
    }
}

int DistanceField::cellIndex(double x, double y) const {
    const auto cx = clampedFloor((x - originX_) / CellSize, -1, width_);
    const auto cy = clampedFloor((y - originY_) / CellSize, -1, height_);
    if (cx < 0 || cy < 0 || cx >= width_ || cy >= height_) return -1;
    return int(cy) * width_ + int(cx);
}

float DistanceField::at(Vec2 p) const {
    const int c = cellIndex(p.x, p.y);
    // Off the grid or cut off from every goal on the grid: still allowed, but last in line.
    if (c < 0 || !std::isfinite(dist_[std::size_t(c)])) return 1.0e6f;
    return dist_[std::size_t(c)];
}

// A step of a route: `length` frames, the first `fastFrames` of them with the fast button held,
// the last with a click when `click` is set. The machine search takes one frame a step, the
// person's search one click a step.
struct Node {
    BarPose pose;
    std::int32_t frames;
    std::int32_t parent;
    std::uint16_t length;
    std::uint16_t fastFrames;
    bool click;
    bool clicked; // any click so far
    // The clicks so far that lie farthest out in eight directions: the farthest click from any
    // point is one of these, within a few percent.
    std::array<Vec2, 8> outerClicks{};
};

constexpr float Directions[8][2] = {{1, 0},  {0.7071f, 0.7071f},   {0, 1},  {-0.7071f, 0.7071f},
                                    {-1, 0}, {-0.7071f, -0.7071f}, {0, -1}, {0.7071f, -0.7071f}};

// A click a frame early or late turns the rest of the route, as a whole, about the point where
// it was made, by twice the frame's step: the dynamics do not care which way the stage faces.
// So a bar at distance D from that point is off by about D times that angle. The person's
// search clicks only at the slow speed (with the fast button let go at least MinFastGap frames
// before), which halves the angle.
constexpr float ClickTurnError = 2 * Bar::SlowStep;

float drift(const Node& node, Vec2 p) {
    if (!node.clicked) return 0.0f;
    float farthest = 0.0f;
    for (const Vec2& c : node.outerClicks)
        farthest = std::max(farthest, std::hypot(p.x - c.x, p.y - c.y));
    return ClickTurnError * farthest;
}

// The part of that drift across a line running along the unit vector `along`: the turn moves p
// at right angles to where it lies from the click, so only its distance from the click measured
// along the line counts.
float driftAcross(const Node& node, Vec2 p, Vec2 along) {
    if (!node.clicked) return 0.0f;
    float farthest = 0.0f;
    for (const Vec2& c : node.outerClicks)
        farthest = std::max(farthest, std::fabs((p.x - c.x) * along.x + (p.y - c.y) * along.y));
    return ClickTurnError * farthest;
}

void addClick(Node& next, Vec2 clickPoint) {
    for (int k = 0; k < 8; ++k) {
        const Vec2& c = next.outerClicks[std::size_t(k)];
        const auto along = [&](Vec2 v) { return v.x * Directions[k][0] + v.y * Directions[k][1]; };
        if (!next.clicked || along(clickPoint) > along(c)) next.outerClicks[std::size_t(k)] = clickPoint;
    }
    next.clicked = true;
}

// States closer than `quantum` (and in the same angle bin) merge. A route a person can play
// tolerates a few units, so the person's search merges more coarsely than the machine's.
std::uint64_t stateKey(const BarPose& pose, float quantum, int angleBins) {
    constexpr std::int64_t Far = std::int64_t(1) << 40;
    const auto qx = clampedFloor(double(pose.pivot.x) / quantum, -Far, Far) & 0xFFFFFF;
    const auto qy = clampedFloor(double(pose.pivot.y) / quantum, -Far, Far) & 0xFFFFFF;
    const double turn = (double(pose.angle.value()) + 3.141592653589793) / 6.283185307179586;
    const auto qa = clampedFloor(turn * angleBins + 0.5, 0, angleBins) % angleBins;
    return std::uint64_t(qx) | (std::uint64_t(qy) << 24) | (std::uint64_t(qa) << 48) |
           (std::uint64_t(pose.reversed) << 63);
}

std::vector<InputFlags> framesOfRoute(const std::vector<Node>& nodes, std::int32_t last) {
    std::vector<std::int32_t> chain;
    for (std::int32_t n = last; nodes[std::size_t(n)].parent >= 0; n = nodes[std::size_t(n)].parent)
        chain.push_back(n);
    std::vector<InputFlags> frames;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const Node& node = nodes[std::size_t(*it)];
        frames.insert(frames.end(), node.fastFrames, InputFlags{true, false});
        frames.insert(frames.end(), node.length - node.fastFrames, InputFlags{false, false});
        frames.back().switchPivot = node.click;
    }
    return frames;
}

constexpr std::int32_t Exhausted = -1;   // every reachable state was tried: no clear exists
constexpr std::int32_t OutOfBudget = -2; // time, memory or the caller's patience spent first

// One search's shared surroundings: the attempt that steps the bar, the guide, the budget.
class Search {
public:
    Search(const Stage& stage, const SolveOptions& options, Clock::time_point deadline)
        : attempt_(stage), options_(options), deadline_(deadline),
          field_(stage, prepared(attempt_, options.collision), deadline, options.cancel) {}

    // Weighted A* over single frames: any input on any frame.
    std::int32_t machine(float weight, std::int32_t frameLimit);
    // Weighted A* over clicks at least minGap frames apart, keeping `margin` between the bar and
    // every wall on the way.
    std::int32_t person(float weight, float margin, std::int32_t frameLimit);

    std::vector<Node> nodes;
    std::size_t states = 0;
    const Stage& stage() const { return attempt_.stage(); }

private:
    static const LineGrid& prepared(Attempt& attempt, LineGrid::Mode mode) {
        if (mode != LineGrid::Mode::Grid) attempt.useCollision(mode);
        return attempt.lines();
    }
    float estimate(const BarPose& pose) const {
        return std::max(0.0f, field_.at(pose.pivot) - BarLength) / MaxPivotSpeed;
    }
    // Checked before every expansion: a cancelled search must stop within a moment, since the
    // editor waits for it.
    bool spent(std::size_t expanded) {
        if (nodes.size() >= options_.maxNodes ||
            (options_.cancel && options_.cancel->load(std::memory_order_relaxed)))
            return true;
        if ((expanded & 0xF) != 1) return false;
        if (options_.progress) options_.progress(states);
        return Clock::now() > deadline_;
    }
    using Item = std::pair<float, std::int32_t>;
    using Open = std::priority_queue<Item, std::vector<Item>, std::greater<>>;
    // The bar at the stage's start as the only state, and the queue holding it.
    Open start(float weight) {
        nodes.clear();
        attempt_.restart();
        nodes.push_back({attempt_.bar().pose(), 0, -1, 0, 0, false, false, {}});
        Open open;
        open.push({weight * estimate(nodes[0].pose), 0});
        return open;
    }
    // Adds a state reached by a step unless a state that looks the same was reached as early.
    void offer(Open& open, const Node& node, float weight,
               std::unordered_map<std::uint64_t, std::int32_t>& best) {
        ++states;
        const bool machine = options_.minGap <= 1;
        const std::uint64_t key = stateKey(node.pose, machine ? PivotQuantum : PersonPivotQuantum,
                                           machine ? AngleBins : PersonAngleBins);
        auto [it, inserted] = best.try_emplace(key, node.frames);
        if (!inserted) {
            if (it->second <= node.frames) return;
            it->second = node.frames;
        }
        nodes.push_back(node);
        open.push({float(node.frames) + weight * estimate(node.pose), std::int32_t(nodes.size() - 1)});
    }

    Attempt attempt_;
    const SolveOptions& options_;
    Clock::time_point deadline_;
    DistanceField field_;
};

std::int32_t Search::machine(float weight, std::int32_t frameLimit) {
    Open open = start(weight);
    std::unordered_map<std::uint64_t, std::int32_t> best;
    for (std::size_t expanded = 1; !open.empty(); ++expanded) {
        if (spent(expanded)) return OutOfBudget;
        const std::int32_t current = open.top().second;
        open.pop();
        const Node node = nodes[std::size_t(current)];
        if (node.frames >= frameLimit) continue;
        for (std::uint8_t action = 0; action < 4; ++action) {
            const bool fast = action & 1, click = action & 2;
            attempt_.resume(node.pose, frameLimit - node.frames);
            const FrameOutcome outcome = attempt_.advance({fast, click});
            if (outcome == FrameOutcome::Wall || outcome == FrameOutcome::TimeOut) continue;
            const Node next{attempt_.bar().pose(), node.frames + 1, current, 1,
                            std::uint16_t(fast),   click,           false,   {}};
            if (outcome == FrameOutcome::Goal) {
                nodes.push_back(next);
                return std::int32_t(nodes.size() - 1);
            }
            offer(open, next, weight, best);
        }
    }
    return Exhausted;
}

std::int32_t Search::person(float weight, float margin, std::int32_t frameLimit) {
    // The room kept from walls, and from a goal's ends when it is reached: the margin plus how
    // far a click one frame off would have moved the bar.
    const auto room = [&](const Node& node) {
        const Bar& bar = attempt_.bar();
        return margin + std::max(drift(node, bar.pivot()), drift(node, bar.freeEnd()));
    };
    const auto tooClose = [&](const Node& node) {
        const float r = room(node);
        return r > 0 && attempt_.lines().wallNear(attempt_.bar().pivot(), attempt_.bar().freeEnd(), r);
    };
    // A goal reached with room: its ends out of the bar's way by the room, and the pivot close
    // enough that, moved across the goal by a click a frame off, the turning bar still reaches it.
    const auto wellInGoal = [&](const Node& node) {
        const Vec2 p = attempt_.bar().pivot(), q = attempt_.bar().freeEnd();
        const float r = room(node);
        return attempt_.lines().crossesGoal(p, q, [&](Vec2 a, Vec2 b) {
            const float length = std::hypot(b.x - a.x, b.y - a.y);
            if (length == 0) return false;
            const Vec2 along{(b.x - a.x) / length, (b.y - a.y) / length};
            return distanceToSegment(a, p, q) >= r && distanceToSegment(b, p, q) >= r &&
                   distanceToSegment(p, a, b) + margin + driftAcross(node, p, along) <= BarLength;
        });
    };
    Open open = start(weight);
    std::unordered_map<std::uint64_t, std::int32_t> best;
    const int minGap = options_.minGap;
    for (std::size_t expanded = 1; !open.empty(); ++expanded) {
        if (spent(expanded)) return OutOfBudget;
        const std::int32_t current = open.top().second;
        open.pop();
        const Node node = nodes[std::size_t(current)];
        const auto step = [&](int length, int fastFrames, bool click) {
            Node next = node;
            next.pose = attempt_.bar().pose();
            next.frames = node.frames + length;
            next.parent = current;
            next.length = std::uint16_t(length);
            next.fastFrames = std::uint16_t(fastFrames);
            next.click = click;
            return next;
        };
        const auto finish = [&](const Node& last) {
            nodes.push_back(last);
            return std::int32_t(nodes.size() - 1);
        };
        // Slow all the way: a click on any frame k from minGap on, from the pose after k - 1
        // frames. Beyond a whole turn after the earliest click, a later one repeats an earlier.
        const int turn = 180;
        attempt_.resume(node.pose, frameLimit - node.frames);
        for (int k = 1; k <= minGap + turn; ++k) {
            if (k >= minGap && (k - minGap) % PersonStride == 0) {
                const BarPose before = attempt_.bar().pose();
                const Vec2 clickPoint = attempt_.bar().freeEnd();
                const std::int32_t remaining = attempt_.remaining();
                const FrameOutcome outcome = attempt_.advance({false, true});
                Node next = step(k, 0, true);
                addClick(next, clickPoint);
                if (outcome == FrameOutcome::Goal && wellInGoal(next)) return finish(next);
                if (outcome == FrameOutcome::Continue && !tooClose(next)) offer(open, next, weight, best);
                attempt_.resume(before, remaining);
            }
            const FrameOutcome outcome = attempt_.advance({false, false});
            if (outcome == FrameOutcome::Goal && wellInGoal(node)) return finish(step(k, 0, false));
            if (outcome != FrameOutcome::Continue || tooClose(node)) break;
        }
        // Fast for h frames, then let go for MinFastGap frames, the last with the click: the
        // button's changes stay MinFastGap apart from one step to the next.
        attempt_.resume(node.pose, frameLimit - node.frames);
        const int shortestHead = std::max(MinFastGap, minGap - MinFastGap);
        for (int h = 1; h <= shortestHead + turn / 2; ++h) {
            const FrameOutcome outcome = attempt_.advance({true, false});
            if (outcome == FrameOutcome::Goal && wellInGoal(node)) return finish(step(h, h, false));
            if (outcome != FrameOutcome::Continue || tooClose(node)) break;
            if (h < shortestHead || (h - shortestHead) % PersonStride != 0) continue;
            const BarPose before = attempt_.bar().pose();
            const std::int32_t remaining = attempt_.remaining();
            for (int j = 1; j <= MinFastGap; ++j) {
                const bool click = j == MinFastGap;
                const Vec2 clickPoint = attempt_.bar().freeEnd();
                const FrameOutcome tail = attempt_.advance({false, click});
                Node next = step(h + j, h, click);
                if (click) addClick(next, clickPoint);
                if (tail == FrameOutcome::Goal && wellInGoal(next)) return finish(next);
                if (tail != FrameOutcome::Continue || tooClose(next)) break;
                if (click) offer(open, next, weight, best);
            }
            attempt_.resume(before, remaining);
        }
    }
    return Exhausted;
}

void describe(SolveResult& result, const Stage& stage, const std::vector<InputFlags>& frames, int slack) {
    result.ending = SolveEnding::Clear;
    result.record = recordOf(frames);
    result.frames = std::int32_t(frames.size());
    const RouteTiming timing = timingOf(frames);
    result.switches = timing.switches;
    result.smallestGap = timing.smallestGap;
    result.slack = slack >= 0 ? slack : slackOf(stage, frames, MaxSlack);
}
} // namespace

SolveResult solveStage(const Stage& stage, const SolveOptions& options) {
    const auto started = Clock::now();
    // A budget of whole years is no budget: cap it so the deadline cannot overflow the clock.
    const double seconds = std::clamp(options.seconds, 0.0, 1.0e7);
    const auto deadline =
        started + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    Search search(stage, options, deadline);
    SolveResult result;
    const std::int32_t frameLimit = framesForTimeLimit(stage.timeLimit);
    if (options.minGap <= 1) {
        // Greedy first, for any route; then closer to plain A* while time is left, for short ones.
        std::int32_t limit = frameLimit;
        for (float weight : {4.0f, 2.0f, 1.4f, 1.15f}) {
            const std::int32_t found = search.machine(weight, limit);
            if (found >= 0) {
                describe(result, stage, framesOfRoute(search.nodes, found), -1);
                limit = result.frames - 1; // only a shorter run is worth finding now
            } else if (found == Exhausted && !result.solved()) {
                result.ending = SolveEnding::NoRoute;
                break; // the other weights would search the same places again
            }
            if (Clock::now() > deadline || found == OutOfBudget) break;
        }
    } else {
        // The margin kept from the walls is what buys slack against a late or early click, but too
        // wide a margin closes narrow ways: home in on one between a margin whose route broke
        // (fragile) and one that found no way at all (closed).
        float margin = 3.0f, fragile = -1.0f, closed = -1.0f;
        while (true) {
            const std::int32_t found = search.person(3.0f, margin, frameLimit);
            if (found == OutOfBudget) break;
            if (found >= 0) {
                const std::vector<InputFlags> frames = framesOfRoute(search.nodes, found);
                const int slack = slackOf(stage, frames, MaxSlack);
                if (slack >= 1) {
                    describe(result, stage, frames, slack);
                    break;
                }
                fragile = margin;
                margin = closed >= 0 ? (fragile + closed) / 2 : margin * 2 + 2;
            } else {
                closed = margin;
                margin = fragile >= 0 ? (fragile + closed) / 2 : margin > 1 ? margin / 2 : 0;
            }
            if (closed == 0 || (closed >= 0 && fragile >= 0 && closed - fragile < 0.5f) ||
                margin > MaxMargin) {
                result.ending = SolveEnding::NoRoute;
                break;
            }
        }
    }
    result.states = search.states;
    result.seconds = std::chrono::duration<double>(Clock::now() - started).count();
    return result;
}
