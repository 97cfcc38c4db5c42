#pragma once
// Test support: feed input through the same event queue a player's input takes.
#include "platform/Platform.h"

#include <string>

namespace platform {
void pushKeyPress(Key key, bool ctrl = false, bool alt = false, bool shift = false);
// Presses and releases key `gameKey` of the game's key table (Z X C V A S D F and arrows).
void pushGameKeyTap(int gameKey);
void pushText(const std::string& utf8);
void pushWheel(float notches);                 // positive away from the user
void pushDroppedFile(const std::string& path); // what a file manager's drag and drop sends
void pushCloseRequest();                       // the close box
void pushTerminate();                          // what SIGTERM becomes
void setClipboardText(const std::string& utf8);
} // namespace platform
