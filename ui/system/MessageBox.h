#pragma once
// The game's question box: caption, text of one or more lines, OK and Cancel. Enter answers the
// default button, Tab and the arrow keys move it; Escape and the window's close request mean Cancel.
#include <string_view>

enum class MessageBoxResult { Ok, Cancel };

// The buttons, and which one Enter answers at first. A question whose OK destroys something
// starts on Cancel, so a stray Enter keeps everything.
enum class MessageBoxStyle { OkCancel, OkCancelDefaultCancel, Ok };

MessageBoxResult ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                                MessageBoxStyle style = MessageBoxStyle::OkCancel);
