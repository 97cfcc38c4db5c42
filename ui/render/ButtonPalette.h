#pragma once
// The colours of what the player can choose: the title's and the edit menu's entries, a box's
// buttons and the editor's tool bar. Lit means under the pointer, or the keys' highlight.
#include "core/base/Color.h"

inline constexpr Color32 LitButton = makeColor(255, 255, 0, 255);
inline constexpr Color32 UnlitButton = makeColor(128, 128, 0, 255);
inline constexpr Color32 ButtonText = makeColor(0, 0, 0, 255);
// An unlit entry's text sinks into its panel; a box's small buttons keep theirs readable.
inline constexpr Color32 UnlitEntryText = makeColor(0, 0, 0, 128);
inline constexpr Color32 UnlitBoxButtonText = makeColor(0, 0, 0, 220);
