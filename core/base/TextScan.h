#pragma once
// Reading words and numbers out of text: the stage and replay files' lines and the numbers typed
// into the editor's boxes.
#include <cstddef>
#include <optional>
#include <string_view>

// Blanks between the words of a line of the game's files: spaces, tabs, and a carriage return
// that a line ending left behind.
bool isBlank(char c);
// Blanks around a number typed into a box: ASCII white space and the ideographic space a
// Japanese input method types.
bool isTypedBlank(char16_t c);

struct LeadingInteger {
    long long value;
    std::size_t length; // characters taken, blanks before the number included
};
// The decimal integer at the start of `text` as strtoll reads it (white space, a sign, digits),
// read no further than a NUL; nullopt when there is none or it is beyond long long.
std::optional<LeadingInteger> leadingInteger(std::string_view text);
