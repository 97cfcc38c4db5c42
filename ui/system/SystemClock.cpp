#include "ui/system/SystemClock.h"

#include "ui/platform/Platform.h"

namespace Lib::Time {

Clock SystemClock() {
    return {platform::nowUs, platform::sleepUntilUs};
}

} // namespace Lib::Time
