#pragma once
// The keys the game knows, as the browser's KeyboardEvent.code names: the key's place on the
// keyboard, whatever the layout prints on it, as the desktop's scancodes are.
#include "platform/Platform.h"

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
    {Key::F5, "F5"},
    {Key::F11, "F11"},
};

inline Key keyOf(const char* code) {
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
