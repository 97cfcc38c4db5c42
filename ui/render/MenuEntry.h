#pragma once
// A menu item as the title and the edit menu draw it: its text on a panel the size of its
// bounds, yellow under the cursor, olive otherwise.
#include "render/TextLabel.h"

void DrawMenuEntry(const TextLabel& label, bool hot);
