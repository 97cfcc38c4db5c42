#pragma once
// The play scene's numbers as the player reads them.
#include <string>
#include <string_view>

// "ステージN title", cut so that it fits the title buffer of 66 UTF-16 units with its terminator.
std::u16string FormatStageTitle(int stageNumber, std::u16string_view title);
// "%.2f" of frames / 60, as UTF-16.
std::u16string FormatSeconds(int frames);
