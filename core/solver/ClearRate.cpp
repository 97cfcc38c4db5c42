#include "core/solver/ClearRate.h"

#include "core/game/GameConstants.h"
#include "core/solver/RouteCheck.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double FrameMs = 1000.0 / FramesPerSecond;
// Shifts beyond this many frames either way are folded into the outermost: at the widest spread
// the tool takes, they are far less likely than one trial in a million.
constexpr int MaxShift = 60;

// SplitMix64: the same numbers from the same seed on every compiler and library, which the
// standard distributions do not promise.
struct Draws {
    std::uint64_t state;
    double next() {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return double((z ^ (z >> 31)) >> 11) * 0x1.0p-53;
    }
};

double normalBelow(double x) {
    return 0.5 * std::erfc(-x / std::sqrt(2.0));
}
} // namespace

std::vector<double> shiftChances(double spreadMs, int k) {
    std::vector<double> chance(std::size_t(2 * k + 1), 0.0);
    if (!(spreadMs > 0)) {
        chance[std::size_t(k)] = 1.0;
        return chance;
    }
    const double spread = spreadMs / FrameMs; // in frames
    for (int shift = -k; shift <= k; ++shift) {
        // Rounded to the nearest frame: shift s is an error within half a frame of s.
        const double low = shift == -k ? 0.0 : normalBelow((shift - 0.5) / spread);
        const double high = shift == k ? 1.0 : normalBelow((shift + 0.5) / spread);
        chance[std::size_t(shift + k)] = high - low;
    }
    return chance;
}

ClearRate clearRateOf(const Stage& stage, const std::vector<InputFlags>& frames,
                      const ClearRateOptions& options) {
    ClearRate rate;
    rate.trials = std::max(options.trials, 0);
    Attempt attempt(stage);
    const PlayedRoute route = playRoute(attempt, frames);
    if (!route.cleared) return rate;

    std::vector<std::size_t> clicks;
    for (std::size_t i = 0; i < frames.size(); ++i)
        if (frames[i].switchPivot) clicks.push_back(i);
    std::vector<double> below = shiftChances(options.spreadMs, MaxShift);
    for (std::size_t i = 1; i < below.size(); ++i)
        below[i] += below[i - 1];

    Draws draws{options.seed};
    std::vector<InputFlags> trial;
    std::vector<std::size_t> moved(clicks.size());
    for (int t = 0; t < rate.trials; ++t) {
        std::size_t first = frames.size() + PlayOn; // the earliest frame this trial changes
        std::size_t last = frames.size();
        for (std::size_t c = 0; c < clicks.size(); ++c) {
            const double u = draws.next();
            const auto at = std::size_t(std::upper_bound(below.begin(), below.end() - 1, u) - below.begin());
            const std::ptrdiff_t to = std::ptrdiff_t(clicks[c]) + std::ptrdiff_t(at) - MaxShift;
            moved[c] = std::size_t(std::max<std::ptrdiff_t>(to, 0));
            if (moved[c] != clicks[c]) first = std::min({first, moved[c], clicks[c]});
            last = std::max(last, moved[c] + clicks.size()); // room for the next free frames
        }
        if (first >= route.poses.size()) { // nothing moved before the route ended
            rate.cleared += route.cleared;
            continue;
        }
        trial.assign(frames.begin(), frames.end());
        trial.resize(last, InputFlags{frames.back().fast, false});
        for (std::size_t c : clicks)
            trial[c].switchPivot = false;
        for (std::size_t c = 0; c < clicks.size(); ++c) {
            std::size_t to = moved[c];
            while (trial[to].switchPivot)
                ++to;
            trial[to].switchPivot = true;
        }
        // The frames after the route hold the fast button as it was left, with no click.
        while (trial.size() > frames.size() && !trial.back().switchPivot)
            trial.pop_back();
        rate.cleared += clearsFrom(attempt, route, trial, first);
    }
    return rate;
}
