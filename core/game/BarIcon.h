#pragma once
// The game's icon: its own bar sweeping its fading trail, with the pivot cross, on a dark
// rounded square. Drawn in software so the build (for the icon files) and the game (for its
// window) make the very same pixels without a display.
#include <cstdint>
#include <vector>

// size x size RGBA pixels (straight alpha), rows from the top; transparent outside the square.
std::vector<std::uint8_t> drawBarIcon(int size);
