#pragma once
// Frame pacing against an absolute start time: frame n is due at start + n * 1,000,000 / fps us,
// so at 60 frames per second every interval is 16.667 ms rather than whole milliseconds
// alternating 17, 17, 16.
#include <cstdint>

namespace Lib::Time {

// Where the time comes from: the system's (ui/system/SystemClock.h) or a test's fake one.
struct Clock {
    std::uint64_t (*now)(); // microseconds
    // Sleeps until `earlyUs` microseconds before microsecond `us` of `now`'s clock.
    void (*sleepUntil)(std::uint64_t us, std::uint32_t earlyUs);
};

class Timer {
public:
    // How long before a frame's target the sleep ends and the spin takes over. Linux wakes an
    // absolute-deadline sleep within tens of microseconds, so a fraction of a millisecond of
    // spinning keeps the present on time without burning the idle frame.
    static constexpr std::uint32_t DefaultSpinUs = 200;

    Timer(std::uint32_t framesPerSecond, Clock clock);
    virtual ~Timer() = default;

    // Microseconds, computed in 64 bits: a product that wrapped would stop the drawing for good.
    std::uint64_t TargetTime(std::uint64_t frame) const { return start_ + frame * 1'000'000 / fps_; }
    std::uint64_t CurrentTarget() const { return TargetTime(frameCounter_); }
    bool IsOnTime() const { return clock_.now() < CurrentTarget(); }
    // Microseconds until the current frame falls due; 0 once it has.
    std::uint64_t TimeLeft() const {
        const std::uint64_t now = clock_.now(), due = CurrentTarget();
        return now < due ? due - now : 0;
    }
    // Sleeps to shortly before the current frame's target, then spins until it is reached.
    void WaitForFrame() const;
    void NextFrame() { ++frameCounter_; }
    // Lets go of the time since the current frame fell due, so it is not caught up with frames
    // run unseen: a modal box stood open, and no time passed for the game meanwhile.
    void SkipLostTime();
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
