#pragma once
// The keys the game knows, as the browser's KeyboardEvent.code names: the key's place on the
// keyboard, whatever the layout prints on it, as the desktop's scancodes are.
#include "ui/platform/Platform.h"

#include <cstring>

namespace platform::web {

// Z X C V A S D F Down Left Right Up, in the order of the game's key table.
inline constexpr const char* GameKeyCodes[GameKeyCount] = {
    "KeyZ", "KeyX", "KeyC",      "KeyV",      "KeyA",       "KeyS",
    "KeyD", "KeyF", "ArrowDown", "ArrowLeft", "ArrowRight", "ArrowUp",
};

struct KeyCode {
    Key key;
    const char* code;
};

inline constexpr KeyCode EventKeys[] = {
    {Key::Escape, "Escape"},
    {Key::Return, "Enter"},
    {Key::Return, "NumpadEnter"},
    {Key::Backspace, "Backspace"},
    {Key::Delete, "Delete"},
    {Key::Left, "ArrowLeft"},
    {Key::Right, "ArrowRight"},
    {Key::Up, "ArrowUp"},
    {Key::Down, "ArrowDown"},
    {Key::Home, "Home"},
    {Key::End, "End"},
    {Key::PageUp, "PageUp"},
    {Key::PageDown, "PageDown"},
    {Key::Tab, "Tab"},
    {Key::Space, "Space"},
    {Key::A, "KeyA"},
    {Key::C, "KeyC"},
    {Key::G, "KeyG"},
    {Key::P, "KeyP"},
    {Key::V, "KeyV"},
    {Key::Z, "KeyZ"},
    {Key::Y, "KeyY"},
    {Key::S, "KeyS"},
    {Key::F, "KeyF"},
    {Key::F5, "F5"},
    {Key::F11, "F11"},
};

// The letter keys the game knows, by what they type.
struct KeyLetter {
    Key key;
    char letter;
};
inline constexpr KeyLetter LetterKeys[] = {
    {Key::A, 'a'}, {Key::C, 'c'}, {Key::F, 'f'}, {Key::G, 'g'}, {Key::P, 'p'},
    {Key::S, 's'}, {Key::V, 'v'}, {Key::Y, 'y'}, {Key::Z, 'z'},
};

// A key as a key-down event names it, as on the desktop: a key that types a Latin letter
// (KeyboardEvent.key) by that letter, so the shortcuts follow the layout; any other by its place
// (KeyboardEvent.code), so a layout without Latin letters keeps the US letters in the US places.
inline Key keyOf(const char* code, const char* typed) {
    const char letter = typed[0] >= 'A' && typed[0] <= 'Z' ? char(typed[0] - 'A' + 'a') : typed[0];
    if (letter >= 'a' && letter <= 'z' && typed[1] == '\0') {
        for (const KeyLetter& k : LetterKeys)
            if (k.letter == letter) return k.key;
        return Key::Other;
    }
    for (const KeyCode& k : EventKeys)
        if (std::strcmp(k.code, code) == 0) return k.key;
    return Key::Other;
}

inline int gameKeyIndex(const char* code) {
    for (int i = 0; i < GameKeyCount; ++i)
        if (std::strcmp(GameKeyCodes[i], code) == 0) return i;
    return -1;
}

} // namespace platform::web
