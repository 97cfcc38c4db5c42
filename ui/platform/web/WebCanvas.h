#pragma once
// What the browser layer's files share: the page's canvas and the queue its callbacks fill.
#include "ui/platform/Platform.h"

namespace platform::web {

inline constexpr const char* CanvasSelector = "#canvas";

// Gives the canvas as many pixels as it has CSS pixels times the device's pixel ratio; true when
// that changed its size.
bool fitCanvas();
// Starts listening to the page's input, focus and size events.
void installEventCallbacks();
void pushEvent(const Event& event);
// Yields to the browser when the game has not for a while: a game running late skips the sleeps
// where it would, and a page that never yields shows nothing and takes no input. Not before the
// first frame: the start-up runs long, and a yield there only puts the first picture off.
void yieldIfStarved();
// Whether the game's first frame has been drawn (the first swap after the window is shown).
bool firstFrameDrawn();
// Takes in the stage a #stage= link carried, if any; needs the working folder.
void importLinkedStage();

} // namespace platform::web
