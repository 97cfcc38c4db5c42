#pragma once
// The titles of the stages the game ships, in the player's language.
#include <string>
#include <string_view>

// Each shipped stage's title has its translation in the catalogs, while the stage files keep the
// Japanese. Any other title (an edited shipped stage's own) is shown as written.
std::u16string shippedStageTitle(std::u16string_view title);
