#include "system/InputState.h"

#include <cstdlib>

void KeyState::UpdateKeys(const platform::InputSnapshot& snap) {
    for (int i = 0; i < KeyCount; ++i) {
        previous[i] = current[i];
        current[i] = snap.keys[i];
    }
}

bool KeyState::Typed(platform::Key key, bool repeats) const {
    for (const KeyPress& press : presses)
        if (press.key == key && (repeats || !press.repeat)) return true;
    return false;
}

int KeyState::StepHighlight(int current, int count, platform::Key back, platform::Key forward) const {
    for (const KeyPress& press : presses) {
        if (count <= 0 || (press.key != back && press.key != forward)) continue;
        const int step = press.key == forward ? 1 : -1;
        current = current < 0 ? (step > 0 ? 0 : count - 1) : (current + step + count) % count;
    }
    return current;
}

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

void MouseState::UpdateMouse(const platform::InputSnapshot& snap, const ViewMapping& view,
                             std::int32_t& wheelAccumulator) {
    previousCursor = cursor;
    cursor = CursorToView(snap.cursorX, snap.cursorY, view);
    static constexpr int StandInKeys[MouseButtonCount] = {KeyZ, KeyX, KeyC};
    for (int i = 0; i < MouseButtonCount; ++i) {
        previousDown[i] = down[i];
        down[i] = snap.buttons[i] || snap.keys[StandInKeys[i]];
        if (down[i] && !previousDown[i]) pressPosition[i] = cursor;
    }
    previousWheel = wheel;
    wheel = TakeWheelNotches(wheelAccumulator);
}
