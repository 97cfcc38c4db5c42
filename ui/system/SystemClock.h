#pragma once
// The frame timer's clock in the game: the platform's monotonic microseconds and its sleep.
#include "core/game/Timer.h"

namespace Lib::Time {
Clock SystemClock();
} // namespace Lib::Time
