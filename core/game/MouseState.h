#pragma once
// The mouse for one turn, in view units (origin at the centre of the 800 x 600 view, y up),
// beside the turn before so that presses and releases read as edges. The idle turn's poll fills
// it; the scenes and the editor's tools read it.
#include "core/stage/Geometry.h"
#include "core/stage/View.h"

#include <array>
#include <cstdint>

enum MouseButton : int { MouseLeft, MouseRight, MouseMiddle, MouseButtonCount };

struct MouseState {
    std::array<bool, MouseButtonCount> down{};
    std::array<bool, MouseButtonCount> previousDown{};
    Vec2 previousCursor;
    Vec2 cursor;
    std::array<Vec2, MouseButtonCount> pressPosition{}; // the cursor at each button's last press
    std::int32_t wheel = 0; // whole notches this turn, positive away from the user
    std::int32_t previousWheel = 0;

    bool Pressed(int b) const { return down[b] && !previousDown[b]; }
    bool Released(int b) const { return previousDown[b] && !down[b]; }
    bool Held(int b) const { return down[b]; }
    Vec2 Motion() const { return cursor - previousCursor; }
};

// The view's mapping of drawable pixels to logical units (letterbox scale, client size).
struct ViewMapping {
    int viewWidth = ViewWidth;
    int viewHeight = ViewHeight;
    float scale = 1.0f;
};

// Drawable pixel (from the client's top-left) to logical view units (centre origin, y up).
Vec2 CursorToView(float pixelX, float pixelY, const ViewMapping& view);

// Whole notches (120 units each, rounded toward zero) taken out of the accumulator.
std::int32_t TakeWheelNotches(std::int32_t& accumulator);
