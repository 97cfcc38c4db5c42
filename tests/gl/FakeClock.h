#pragma once
// A clock for pacing tests: sleeping advances it at once, and every reading advances it by a
// twentieth of a millisecond, so a busy wait ends without real time passing.
#include "app/Timer.h"

#include <cstdint>

class FakeClock {
public:
    FakeClock() { micros = 1'000'000; }
    Lib::Time::Clock clock() const { return {&FakeClock::now, &FakeClock::sleep}; }
    static void advance(std::uint64_t ms) { micros += ms * 1000; }

    static inline std::uint64_t micros = 0;

private:
    static std::uint64_t now() {
        micros += 50;
        return micros / 1000;
    }
    static void sleep(std::uint32_t ms) { micros += std::uint64_t(ms) * 1000; }
};
