#pragma once
// Test support: feed input through the same event queue a player's input takes.
#include "platform/Platform.h"

#include <string>

namespace platform {
void pushKeyPress(Key key, bool ctrl = false, bool alt = false);
void pushText(const std::string& utf8);
void pushCloseRequest();
void setClipboardText(const std::string& utf8);
} // namespace platform
