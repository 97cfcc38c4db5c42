#pragma once
// Gamepads through SDL's game controller API: any number of them, plugged in before or during
// play, their inputs ORed together. A is the left button and also types Z (which chooses in
// menus and boxes), B or the right trigger is the right button, X the middle button, Start
// types P (pause), Back types Escape; the d-pad and the left stick type the arrow keys,
// repeating while held. Included by platform/ only.
#include "ui/platform/Platform.h"

#include <SDL.h>

namespace platform::gamepad {

// A controller event as the game's event; false when it gives the game nothing (it may still
// open or close a pad, or latch a button).
bool translate(const SDL_Event& e, Event& event);
// A fresh or repeated arrow key from the held d-pads and sticks; false when none is due.
bool directionEvent(Event& event);
// OR the pads' held (or latched since the last call) buttons into the mouse buttons.
void addHeldButtons(bool (&buttons)[MouseButtonCount]);
void releaseLatched();

} // namespace platform::gamepad
