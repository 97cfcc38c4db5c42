#pragma once
// A clock for pacing tests: a sleep jumps to its deadline at once, and every reading advances
// the clock by a twentieth of a millisecond, so a busy wait ends without real time passing.
#include "core/game/Timer.h"

#include <algorithm>
#include <cstdint>

class FakeClock {
public:
    FakeClock() { micros = 1'000'000; }
    Lib::Time::Clock clock() const { return {&FakeClock::now, &FakeClock::sleepUntil}; }
    static void advance(std::uint64_t ms) { micros += ms * 1000; }

    static inline std::uint64_t micros = 0;
    static inline int readings = 0; // calls of now: a busy wait shows up here
    static inline int sleeps = 0;

private:
    static std::uint64_t now() {
        ++readings;
        micros += 50;
        return micros;
    }
    static void sleepUntil(std::uint64_t us, std::uint32_t earlyUs) {
        ++sleeps;
        micros = std::max(micros, us - earlyUs);
    }
};
