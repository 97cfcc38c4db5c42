#include "core/solver/RouteSearch.h"

#include "core/game/GameConstants.h"

#include <algorithm>

namespace {
// The pivot can advance at most about half the free end's fast speed (4.19 units per frame).
constexpr float MaxPivotSpeed = 2.1f;

std::uint64_t stateKey(const BarPose& pose, StateGrain grain) {
    constexpr std::int64_t Far = std::int64_t(1) << 40;
    const auto qx = clampedFloor(double(pose.pivot.x) / grain.pivotQuantum, -Far, Far) & 0xFFFFFF;
    const auto qy = clampedFloor(double(pose.pivot.y) / grain.pivotQuantum, -Far, Far) & 0xFFFFFF;
    const double turn = (double(pose.angle.value()) + 3.141592653589793) / 6.283185307179586;
    const auto qa = clampedFloor(turn * grain.angleBins + 0.5, 0, grain.angleBins) % grain.angleBins;
    return std::uint64_t(qx) | (std::uint64_t(qy) << 24) | (std::uint64_t(qa) << 48) |
           (std::uint64_t(pose.reversed) << 63);
}
} // namespace

RouteSearch::RouteSearch(const Stage& stage, const SolveOptions& options, Clock::time_point deadline)
    : clearance(stage), attempt_(stage), options_(options), deadline_(deadline),
      field_(stage, prepared(attempt_, options.collision), deadline, options.cancel) {}

const LineGrid& RouteSearch::prepared(Attempt& attempt, LineGrid::Mode mode) {
    if (mode != LineGrid::Mode::Grid) attempt.useCollision(mode);
    return attempt.lines();
}

float RouteSearch::estimate(const BarPose& pose) const {
    return std::max(0.0f, field_.at(pose.pivot) - BarLength) / MaxPivotSpeed;
}

// Checked before every expansion: a cancelled search must stop within a moment, since the
// editor waits for it.
std::int32_t RouteSearch::spent(std::size_t expanded) {
    if (nodes.size() >= options_.maxNodes) return OutOfStates;
    if (options_.cancel && options_.cancel->load(std::memory_order_relaxed)) return OutOfBudget;
    if ((expanded & 0xF) != 1) return 0;
    if (options_.progress) options_.progress(states);
    return Clock::now() > deadline_ ? OutOfBudget : 0;
}

std::int32_t RouteSearch::run(float weight, StateGrain grain, const Expand& expand) {
    weight_ = weight;
    grain_ = grain;
    nodes.clear();
    best_.clear();
    open_ = {};
    attempt_.restart();
    nodes.push_back({attempt_.bar().pose(), 0, -1, 0, 0, false, false, {}});
    open_.push({weight * estimate(nodes[0].pose), 0});
    for (std::size_t expanded = 1; !open_.empty(); ++expanded) {
        if (const std::int32_t reason = spent(expanded)) return reason;
        const std::int32_t current = open_.top().second;
        open_.pop();
        const std::int32_t found = expand(current);
        if (found >= 0) return found;
    }
    return Exhausted;
}

void RouteSearch::offer(const RouteNode& node) {
    ++states;
    if (!best_.improve(stateKey(node.pose, grain_), node.frames)) return;
    nodes.push_back(node);
    open_.push({float(node.frames) + weight_ * estimate(node.pose), std::int32_t(nodes.size() - 1)});
}

bool RouteSearch::wanted(const BarPose& pose, std::int32_t frames) {
    const bool kept = best_.wouldImprove(stateKey(pose, grain_), frames);
    states += !kept;
    return kept;
}

std::int32_t RouteSearch::finish(const RouteNode& node) {
    nodes.push_back(node);
    return std::int32_t(nodes.size() - 1);
}

std::vector<InputFlags> RouteSearch::framesOfRoute(std::int32_t last) const {
    std::vector<std::int32_t> chain;
    for (std::int32_t n = last; nodes[std::size_t(n)].parent >= 0; n = nodes[std::size_t(n)].parent)
        chain.push_back(n);
    std::vector<InputFlags> frames;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const RouteNode& node = nodes[std::size_t(*it)];
        frames.insert(frames.end(), node.slowLead, InputFlags{false, false});
        frames.insert(frames.end(), node.fastFrames, InputFlags{true, false});
        frames.insert(frames.end(), node.length - node.fastFrames - node.slowLead, InputFlags{false, false});
        frames.back().switchPivot = node.click;
    }
    return frames;
}
