#include "system/Timer.h"

#include "platform/Platform.h"

namespace Lib::Time {

Clock SystemClock() {
    return {platform::nowUs, platform::sleepUntilUs};
}

Timer::Timer(std::uint32_t framesPerSecond, Clock clock)
    : fps_(framesPerSecond), clock_(clock), start_(clock.now()) {}

void Timer::WaitForFrame() const {
    const std::uint64_t target = CurrentTarget();
    if (clock_.now() >= target) return;
    clock_.sleepUntil(target, spinUs_);
    while (clock_.now() < target) {
    }
}

} // namespace Lib::Time
