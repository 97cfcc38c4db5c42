#include "app/Timer.h"

#include "platform/Platform.h"

namespace Lib::Time {

Clock SystemClock() {
    return {platform::nowMs, platform::sleepMs};
}

Timer::Timer(std::uint32_t framesPerSecond, Clock clock)
    : fps_(framesPerSecond), clock_(clock), start_(clock.now()) {}

void Timer::WaitForFrame() const {
    const std::uint64_t target = CurrentTarget();
    const std::uint64_t now = clock_.now();
    if (now >= target) return;
    if (target - now > 2) clock_.sleep(std::uint32_t(target - now - 2));
    while (clock_.now() < target) {
    }
}

} // namespace Lib::Time
