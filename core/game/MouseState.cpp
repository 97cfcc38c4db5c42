#include "core/game/MouseState.h"

#include <cstdlib>

Vec2 CursorToView(float pixelX, float pixelY, const ViewMapping& view) {
    const float inverse = 1.0f / view.scale;
    const float x = (pixelX - float(view.viewWidth) * 0.5f) * inverse;
    const float y = -((pixelY - float(view.viewHeight) * 0.5f) * inverse);
    return {x, y};
}

std::int32_t TakeWheelNotches(std::int32_t& accumulator) {
    if (std::abs(accumulator) < 120) return 0;
    const std::int32_t notches = accumulator / 120; // C++ division rounds toward zero
    accumulator -= notches * 120;
    return notches;
}
