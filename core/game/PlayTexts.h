#pragma once
// The play scene's numbers as the player reads them.
#include <cstdint>
#include <string>
#include <string_view>

// "ステージN title", cut so that it fits the title buffer of 66 UTF-16 units with its terminator.
std::u16string FormatStageTitle(int stageNumber, std::u16string_view title);
// The file name of a player's own stage (cut short when long) and its title, cut alike.
std::u16string FormatOwnStageTitle(const std::string& fileName, std::u16string_view title);
// "%.2f" of frames / 60, as UTF-16; the stage select's sum of ten best times may pass 32 bits.
std::u16string FormatSeconds(std::int64_t frames);
