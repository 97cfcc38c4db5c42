#include "core/solver/FrameMoves.h"

namespace {
constexpr StateGrain FrameGrain{3.0f, 180}; // 3 units, 2-degree bins
} // namespace

std::int32_t searchFrameByFrame(RouteSearch& search, float weight, std::int32_t frameLimit) {
    Attempt& attempt = search.attempt();
    return search.run(weight, FrameGrain, [&](std::int32_t current) {
        const RouteNode node = search.nodes[std::size_t(current)];
        if (node.frames >= frameLimit) return NoClear;
        for (std::uint8_t action = 0; action < 4; ++action) {
            const bool fast = action & 1, click = action & 2;
            attempt.resume(node.pose, frameLimit - node.frames);
            const FrameOutcome outcome = attempt.advance({fast, click});
            if (outcome == FrameOutcome::Wall || outcome == FrameOutcome::TimeOut) continue;
            const RouteNode next{attempt.bar().pose(), node.frames + 1, current, 1,
                                 std::uint16_t(fast),  click,           false,   {}};
            if (outcome == FrameOutcome::Goal) return search.finish(next);
            search.offer(next);
        }
        return NoClear;
    });
}
