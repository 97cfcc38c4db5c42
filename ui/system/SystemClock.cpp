#include "system/SystemClock.h"

#include "platform/Platform.h"

namespace Lib::Time {

Clock SystemClock() {
    return {platform::nowUs, platform::sleepUntilUs};
}

} // namespace Lib::Time
