#pragma once
// The game's question box: caption, text of one or more lines, OK and Cancel. Enter means OK,
// Escape and the window's close request mean Cancel.
#include <string_view>

enum class MessageBoxResult { Ok, Cancel };

MessageBoxResult ShowMessageBox(std::u16string_view text, std::u16string_view caption);

// Before any window exists (a missing data file): a system box plus the same text on stderr.
void ShowStartupError(const std::string_view caption, const std::string_view text);
