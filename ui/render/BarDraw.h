#pragma once
// The bar's picture: its fading trail, its body and the cross on its pivot.
#include "core/game/Bar.h"

void drawBar(const Bar& bar);
