#pragma once
// Test support: feed input through the same event queue a player's input takes.
#include "ui/platform/Platform.h"

#include <string>

namespace platform {
void pushKeyPress(Key key, bool ctrl = false, bool alt = false, bool shift = false);
// The key in `place`'s place on a US keyboard, on a layout that puts `letter` on it (a German
// layout: the Z place types Y, the Y place types Z).
void pushKeyPressAt(Key place, Key letter, bool ctrl = false, bool shift = false, bool alt = false);
// Presses and releases key `gameKey` of the game's key table (Z X C V A S D F and arrows).
void pushGameKeyTap(int gameKey);
void pushText(const std::string& utf8);
void pushWheel(float notches);                 // positive away from the user
void pushDroppedFile(const std::string& path); // what a file manager's drag and drop sends
void pushCloseRequest();                       // the close box
void pushTerminate();                          // what SIGTERM becomes
// The window made that large by someone who ignores its size limit (another X client, a window
// manager); the game hears of it as of any resize. The window's stated maximum stays that size
// until the game states its limit again.
void resizeWindowPastItsLimit(int width, int height);
void setClipboardText(const std::string& utf8);

// A gamepad on SDL's virtual joystick driver, plugged in as a real one would be; -1 when SDL
// cannot make one. Its inputs are set as held or released, and reach the game as a pad's do.
enum class PadInput { A, B, X, Back, Start, DpadUp, DpadDown, DpadLeft, DpadRight, StickLeft, RightTrigger };
int attachVirtualGamepad();
void setVirtualGamepad(int pad, PadInput input, bool held);
void detachVirtualGamepad(int pad);
} // namespace platform
