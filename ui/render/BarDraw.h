#pragma once
// The bar's picture: its fading trail, its body and the cross on its pivot.
#include "core/game/Bar.h"

void drawBar(const Bar& bar);
// All that drawBar touches, in the bar's own coordinates: the trail, the bar and the cross.
Rect barBounds(const Bar& bar);
