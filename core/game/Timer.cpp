#include "core/game/Timer.h"

namespace Lib::Time {

Timer::Timer(std::uint32_t framesPerSecond, Clock clock)
    : fps_(framesPerSecond), clock_(clock), start_(clock.now()) {}

void Timer::WaitForFrame() const {
    const std::uint64_t target = CurrentTarget();
    if (clock_.now() >= target) return;
    clock_.sleepUntil(target, spinUs_);
    while (clock_.now() < target) {
    }
}

void Timer::SkipLostTime() {
    const std::uint64_t now = clock_.now();
    const std::uint64_t due = CurrentTarget();
    if (now >= due) start_ += now - due + 1'000'000 / fps_; // the current frame a whole frame away
}

} // namespace Lib::Time
