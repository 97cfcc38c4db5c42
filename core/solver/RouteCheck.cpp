#include "core/solver/RouteCheck.h"

#include "core/game/Attempt.h"

#include <algorithm>
#include <climits>

std::vector<InputFlags> framesOf(InputRecord record) {
    std::vector<InputFlags> frames;
    record.rewind();
    while (record.hasFramesLeft())
        frames.push_back(record.readNext());
    return frames;
}

InputRecord recordOf(const std::vector<InputFlags>& frames) {
    InputRecord record;
    for (const InputFlags& f : frames)
        record.append(f.fast, f.switchPivot);
    return record;
}

RouteTiming timingOf(const std::vector<InputFlags>& frames) {
    RouteTiming timing;
    int lastSwitch = -1, lastFastChange = -1, gap = INT_MAX, fastGap = INT_MAX;
    bool fast = false;
    for (int i = 0; i < int(frames.size()); ++i) {
        if (frames[std::size_t(i)].switchPivot) {
            ++timing.switches;
            if (lastSwitch >= 0) gap = std::min(gap, i - lastSwitch);
            lastSwitch = i;
        }
        if (frames[std::size_t(i)].fast != fast) {
            fast = !fast;
            if (lastFastChange >= 0) fastGap = std::min(fastGap, i - lastFastChange);
            lastFastChange = i;
        }
    }
    timing.smallestGap = gap == INT_MAX ? 0 : gap;
    timing.smallestFastGap = fastGap == INT_MAX ? 0 : fastGap;
    return timing;
}

PlayedRoute playRoute(Attempt& attempt, const std::vector<InputFlags>& frames) {
    PlayedRoute played;
    for (const InputFlags& input : frames) {
        played.poses.push_back(attempt.bar().pose());
        const FrameOutcome outcome = attempt.advance(input);
        if (outcome == FrameOutcome::Continue) continue;
        played.cleared = outcome == FrameOutcome::Goal;
        break;
    }
    return played;
}

bool clearsFrom(Attempt& attempt, const PlayedRoute& route, const std::vector<InputFlags>& frames,
                std::size_t first) {
    if (first >= route.poses.size()) return route.cleared;
    attempt.resume(route.poses[first], framesForTimeLimit(attempt.stage().timeLimit) - std::int32_t(first));
    const bool fastAtEnd = !frames.empty() && frames.back().fast;
    for (std::size_t i = first; i < frames.size() + PlayOn; ++i) {
        const InputFlags input = i < frames.size() ? frames[i] : InputFlags{fastAtEnd, false};
        const FrameOutcome outcome = attempt.advance(input);
        if (outcome != FrameOutcome::Continue) return outcome == FrameOutcome::Goal;
    }
    return false;
}

namespace {
// Plays the route with its click at `at` moved by `shift` frames.
bool clearsWithShift(Attempt& attempt, const PlayedRoute& route, std::vector<InputFlags> frames,
                     std::size_t at, int shift) {
    const auto to = std::ptrdiff_t(at) + shift;
    if (to < 0) return false; // a click before the start is no click a person can make
    frames[at].switchPivot = false;
    if (std::size_t(to) >= frames.size()) frames.resize(std::size_t(to) + 1, {frames.back().fast, false});
    frames[std::size_t(to)].switchPivot = true;
    return clearsFrom(attempt, route, frames, std::min(at, std::size_t(to)));
}
} // namespace

int slackOf(const Stage& stage, const std::vector<InputFlags>& frames, int maxShift) {
    if (frames.empty()) return 0;
    const std::vector<int> each = forgivenessOf(stage, frames, maxShift);
    return each.empty() ? maxShift : *std::min_element(each.begin(), each.end());
}

std::vector<int> forgivenessOf(const Stage& stage, const std::vector<InputFlags>& frames, int maxShift) {
    std::vector<int> each;
    Attempt attempt(stage);
    const PlayedRoute route = playRoute(attempt, frames);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (!frames[i].switchPivot) continue;
        int k = 0;
        while (k < maxShift && clearsWithShift(attempt, route, frames, i, -(k + 1)) &&
               clearsWithShift(attempt, route, frames, i, k + 1))
            ++k;
        each.push_back(k);
    }
    return each;
}
