#pragma once
// Which files of the working folder are edited stages, and the order the edit menu lists them in.
#include <string_view>

// "stage" followed by digits: the names the game gives its edited and imported stages.
bool isEditedStageName(std::string_view name);

// Natural order: runs of digits compare by value (stage2 before stage10), the rest by text
// ignoring ASCII case; names equal under both rules fall back to their bytes, so the order is total.
bool naturalLess(std::string_view a, std::string_view b);
