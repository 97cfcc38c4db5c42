#pragma once
// Frame pacing against an absolute start time: frame n is due at start + n * 1000 / fps ms.
#include <cstdint>

namespace Lib::Time {

// Where the time comes from; tests put a fake clock here.
struct Clock {
    std::uint64_t (*now)();
    void (*sleep)(std::uint32_t ms);
};
Clock SystemClock();

class Timer {
public:
    explicit Timer(std::uint32_t framesPerSecond, Clock clock = SystemClock());
    virtual ~Timer() = default;

    // Computed in 64 bits: a 32-bit product would wrap after 19.9 hours and never draw again.
    std::uint64_t TargetTime(std::uint64_t frame) const { return start_ + frame * 1000 / fps_; }
    std::uint64_t CurrentTarget() const { return TargetTime(frameCounter_); }
    bool IsOnTime() const { return clock_.now() < CurrentTarget(); }
    // Sleeps to 2 ms before the current frame's target, then spins until it is reached.
    void WaitForFrame() const;
    void NextFrame() { ++frameCounter_; }

private:
    std::uint32_t fps_;
    std::uint64_t frameCounter_ = 0;
    Clock clock_;
    std::uint64_t start_;
};

} // namespace Lib::Time
