#include "core/solver/Solver.h"

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

void describe(SolveResult& result, const std::vector<InputFlags>& frames, std::vector<int> forgiveness) {
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
                describe(result, frames, forgivenessOf(stage, frames, MaxForgiveness));
                limit = result.frames - 1; // only a shorter run is worth finding now
            } else if (!result.solved()) {
                result.ending = found == Exhausted ? SolveEnding::NoRoute : endingOf(found);
                break; // the other weights would search the same places again
            }
            if (Clock::now() > deadline || found < Exhausted) break;
        }
    } else {
        // The margin kept from the walls is what buys slack against a late or early click, but too
        // wide a margin closes narrow ways: home in on one between a margin whose route broke
        // (fragile) and one that found no way at all (closed).
        const int wanted = std::clamp(options.forgiveness, 1, MaxForgiveness);
        float margin = 3.0f, fragile = -1.0f, closed = -1.0f;
        while (true) {
            const std::int32_t found =
                searchPlayable(search, 3.0f, {margin, options.minGap, wanted}, frameLimit);
            if (found < Exhausted) {
                result.ending = endingOf(found);
                break;
            }
            if (found >= 0) {
                const std::vector<InputFlags> frames = search.framesOfRoute(found);
                std::vector<int> forgiveness = forgivenessOf(stage, frames, MaxForgiveness);
                if (leastOf(forgiveness) >= wanted) {
                    describe(result, frames, std::move(forgiveness));
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
