#pragma once
// Frame pacing against an absolute start time: frame n is due at start + n * 1000 / fps ms.
#include <cstdint>

namespace Lib::Time {

// Where the time comes from; tests put a fake clock here.
struct Clock {
    std::uint64_t (*now)(); // milliseconds
    // Sleeps until `earlyUs` microseconds before millisecond `ms` of `now`'s clock.
    void (*sleepUntil)(std::uint64_t ms, std::uint32_t earlyUs);
};
Clock SystemClock();

class Timer {
public:
    // How long before a frame's target the sleep ends and the spin takes over. Linux wakes an
    // absolute-deadline sleep within tens of microseconds, so a fraction of a millisecond of
    // spinning keeps the present on time without burning the idle frame.
    static constexpr std::uint32_t DefaultSpinUs = 200;

    explicit Timer(std::uint32_t framesPerSecond, Clock clock = SystemClock());
    virtual ~Timer() = default;

    // Computed in 64 bits: a 32-bit product would wrap after 19.9 hours and never draw again.
    std::uint64_t TargetTime(std::uint64_t frame) const { return start_ + frame * 1000 / fps_; }
    std::uint64_t CurrentTarget() const { return TargetTime(frameCounter_); }
    bool IsOnTime() const { return clock_.now() < CurrentTarget(); }
    // Sleeps to shortly before the current frame's target, then spins until it is reached.
    void WaitForFrame() const;
    void NextFrame() { ++frameCounter_; }
    // The measuring tool compares spin margins; the game keeps the default.
    void SetSpinMargin(std::uint32_t us) { spinUs_ = us; }

private:
    std::uint32_t fps_;
    std::uint64_t frameCounter_ = 0;
    Clock clock_;
    std::uint64_t start_;
    std::uint32_t spinUs_ = DefaultSpinUs;
};

} // namespace Lib::Time
