#pragma once
// The player's language. Every text the game shows is written in the code in Japanese, and that
// Japanese is its message id: with no catalog for the player's language, the id itself shows.
#include <string>
#include <string_view>

// The text to show for a Japanese message id.
std::u16string tr(std::u16string_view messageId);

// Marks a text kept in a table before it is shown, so the catalog tools find it; the table's
// user passes it through tr() when it shows it.
constexpr const char16_t* N_(const char16_t* messageId) {
    return messageId;
}
