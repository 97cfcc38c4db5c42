#include "core/solver/Solver.h"

#include "core/solver/ClearRate.h"
#include "core/solver/ClickMoves.h"
#include "core/solver/FrameMoves.h"
#include "core/solver/RouteCheck.h"

#include <algorithm>
#include <chrono>

namespace {
constexpr float MaxMargin = 40.0f; // beyond this from every wall no stage is worth a search
using Clock = std::chrono::steady_clock;

SolveEnding endingOf(std::int32_t spent) {
    return spent == OutOfStates ? SolveEnding::StateCap : SolveEnding::GaveUp;
}

// What every click forgives: the least of them (all of the most when there is no click).
int leastOf(const std::vector<int>& forgiveness) {
    return forgiveness.empty() ? MaxForgiveness : *std::min_element(forgiveness.begin(), forgiveness.end());
}

// Slips a route is planned for beyond what is measured of it: the room they keep from the walls
// still raises the share of clears by hand.
constexpr int MaxPlannedSlip = MaxForgiveness + 3;

struct Candidate {
    std::vector<InputFlags> frames;
    std::vector<int> forgiveness;
    int cleared = 0; // of the clear rate's trials at a steady player's spread
    bool betterThan(const Candidate& other) const {
        const int least = leastOf(forgiveness), otherLeast = leastOf(other.forgiveness);
        if (least != otherLeast) return least > otherLeast;
        if (cleared != other.cleared) return cleared > other.cleared;
        return frames.size() < other.frames.size();
    }
};

struct Tried {
    bool found = false;
    SolveEnding ending = SolveEnding::NoRoute;
    std::vector<InputFlags> frames;
    std::vector<int> forgiveness;
};

// The margin kept from the walls is what buys slack against a late or early click, but too wide
// a margin closes narrow ways: home in on one between a margin whose route broke (fragile) and
// one that found no way at all (closed).
Tried homeInOnMargin(RouteSearch& search, const Stage& stage, int minGap, int slip, int wanted,
                     std::int32_t frameLimit) {
    Tried tried;
    float margin = 3.0f, fragile = -1.0f, closed = -1.0f;
    while (true) {
        const std::int32_t found = searchPlayable(search, 3.0f, {margin, minGap, slip}, frameLimit);
        if (found < Exhausted) {
            tried.ending = endingOf(found);
            return tried;
        }
        if (found >= 0) {
            std::vector<InputFlags> frames = search.framesOfRoute(found);
            std::vector<int> forgiveness = forgivenessOf(stage, frames, MaxForgiveness);
            if (leastOf(forgiveness) >= wanted) {
                tried.found = true;
                tried.frames = std::move(frames);
                tried.forgiveness = std::move(forgiveness);
                return tried;
            }
            fragile = margin;
            margin = closed >= 0 ? (fragile + closed) / 2 : margin * 2 + 2;
        } else {
            closed = margin;
            margin = fragile >= 0 ? (fragile + closed) / 2 : margin > 1 ? margin / 2 : 0;
        }
        if (closed == 0 || (closed >= 0 && fragile >= 0 && closed - fragile < 0.5f) || margin > MaxMargin)
            return tried;
    }
}

void describe(SolveResult& result, const Stage& stage, const std::vector<InputFlags>& frames,
              std::vector<int> forgiveness) {
    result.ending = SolveEnding::Clear;
    result.record = recordOf(frames);
    result.frames = std::int32_t(frames.size());
    const RouteTiming timing = timingOf(frames);
    result.switches = timing.switches;
    result.smallestGap = timing.smallestGap;
    result.forgiveness = std::move(forgiveness);
    result.slack = leastOf(result.forgiveness);
    const auto first = std::find_if(frames.begin(), frames.end(), [](InputFlags f) { return f.switchPivot; });
    result.firstClick = first == frames.end() ? 0 : std::int32_t(first - frames.begin()) + 1;
    result.steady = clearRateOf(stage, frames, {.spreadMs = SteadySpreadMs});
    result.ordinary = clearRateOf(stage, frames, {.spreadMs = OrdinarySpreadMs});
}
} // namespace

SolveResult solveStage(const Stage& stage, const SolveOptions& options) {
    const auto started = Clock::now();
    // A budget of whole years is no budget: cap it so the deadline cannot overflow the clock.
    const double seconds = std::clamp(options.seconds, 0.0, 1.0e7);
    const auto deadline =
        started + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    SolveResult result;
    result.hopeless = provenHopeless(stage);
    if (result.hopeless != Hopeless::No) {
        result.ending = SolveEnding::NoRoute;
        result.seconds = std::chrono::duration<double>(Clock::now() - started).count();
        return result;
    }
    RouteSearch search(stage, options, deadline);
    const std::int32_t frameLimit = framesForTimeLimit(stage.timeLimit);
    if (options.minGap <= 1) {
        // Greedy first, for any route; then closer to plain A* while time is left, for short ones.
        std::int32_t limit = frameLimit;
        for (float weight : {4.0f, 2.0f, 1.4f, 1.15f}) {
            const std::int32_t found = searchFrameByFrame(search, weight, limit);
            if (found >= 0) {
                const std::vector<InputFlags> frames = search.framesOfRoute(found);
                describe(result, stage, frames, forgivenessOf(stage, frames, MaxForgiveness));
                limit = result.frames - 1; // only a shorter run is worth finding now
            } else if (!result.solved()) {
                result.ending = found == Exhausted ? SolveEnding::NoRoute : endingOf(found);
                break; // the other weights would search the same places again
            }
            if (Clock::now() > deadline || found < Exhausted) break;
        }
    } else {
        // The most forgiving route a person can play: first one that forgives what was asked,
        // then, while time is left, routes planned for wider slips (more room kept from the
        // walls), kept when they forgive more, or as much but clear more often by hand.
        const int wanted = std::clamp(options.forgiveness, 1, MaxForgiveness);
        Candidate best;
        for (int slip = wanted; slip <= MaxPlannedSlip; ++slip) {
            // Later tries may keep a few times the states the first answer took, so what they find
            // does not depend on the machine's speed, and the first answer is never lost to them.
            SolveOptions widerOptions = options;
            widerOptions.maxNodes =
                std::min(options.maxNodes, std::max<std::size_t>(4 * search.states, 50'000));
            RouteSearch widerSearch(stage, widerOptions, deadline);
            RouteSearch& current = best.frames.empty() ? search : widerSearch;
            const Tried tried = homeInOnMargin(current, stage, options.minGap, slip, wanted, frameLimit);
            result.states += current.states;
            if (!tried.found) {
                if (best.frames.empty()) result.ending = tried.ending;
                break;
            }
            Candidate candidate{tried.frames, tried.forgiveness,
                                clearRateOf(stage, tried.frames, {.spreadMs = SteadySpreadMs}).cleared};
            if (best.frames.empty() || candidate.betterThan(best)) best = std::move(candidate);
            const bool flawless =
                leastOf(best.forgiveness) == MaxForgiveness && best.cleared == ClearRateOptions{}.trials;
            if (flawless || Clock::now() > deadline) break; // nothing wider could be more forgiving
        }
        if (!best.frames.empty()) describe(result, stage, best.frames, std::move(best.forgiveness));
    }
    result.states = std::max(result.states, search.states);
    result.seconds = std::chrono::duration<double>(Clock::now() - started).count();
    return result;
}
std::string forgivenessSummary(const std::vector<int>& forgiveness) {
    std::string text;
    for (int k = MaxForgiveness; k >= 0; --k) {
        const auto clicks = std::count(forgiveness.begin(), forgiveness.end(), k);
        if (clicks == 0) continue;
        if (!text.empty()) text += ' ';
        text += "\u00B1" + std::to_string(k) + "\u00D7" + std::to_string(clicks);
    }
    return text;
}
