#pragma once
// The keys the game knows, as SDL scancodes: shared by the event translation and the synthetic
// input of the tests so the two can never disagree. Included by platform/ only.
#include "platform/Platform.h"

#include <SDL.h>

namespace platform {

// The game's key table by position (Z X C V A S D F Down Left Right Up), so the keys sit where
// players expect them on any layout.
inline constexpr SDL_Scancode GameKeyScancodes[GameKeyCount] = {
    SDL_SCANCODE_Z, SDL_SCANCODE_X, SDL_SCANCODE_C,    SDL_SCANCODE_V,    SDL_SCANCODE_A,     SDL_SCANCODE_S,
    SDL_SCANCODE_D, SDL_SCANCODE_F, SDL_SCANCODE_DOWN, SDL_SCANCODE_LEFT, SDL_SCANCODE_RIGHT, SDL_SCANCODE_UP,
};

struct KeyScancode {
    Key key;
    SDL_Scancode scancode;
};

// The keys events report; the first entry of a key is the one synthetic input sends.
inline constexpr KeyScancode EventKeys[] = {
    {Key::Escape, SDL_SCANCODE_ESCAPE},
    {Key::Return, SDL_SCANCODE_RETURN},
    {Key::Return, SDL_SCANCODE_KP_ENTER},
    {Key::Backspace, SDL_SCANCODE_BACKSPACE},
    {Key::Delete, SDL_SCANCODE_DELETE},
    {Key::Left, SDL_SCANCODE_LEFT},
    {Key::Right, SDL_SCANCODE_RIGHT},
    {Key::Up, SDL_SCANCODE_UP},
    {Key::Down, SDL_SCANCODE_DOWN},
    {Key::Home, SDL_SCANCODE_HOME},
    {Key::End, SDL_SCANCODE_END},
    {Key::PageUp, SDL_SCANCODE_PAGEUP},
    {Key::PageDown, SDL_SCANCODE_PAGEDOWN},
    {Key::Tab, SDL_SCANCODE_TAB},
    {Key::Space, SDL_SCANCODE_SPACE},
    {Key::A, SDL_SCANCODE_A},
    {Key::C, SDL_SCANCODE_C},
    {Key::G, SDL_SCANCODE_G},
    {Key::P, SDL_SCANCODE_P},
    {Key::V, SDL_SCANCODE_V},
    {Key::Z, SDL_SCANCODE_Z},
    {Key::Y, SDL_SCANCODE_Y},
    {Key::S, SDL_SCANCODE_S},
    {Key::F5, SDL_SCANCODE_F5},
    {Key::F11, SDL_SCANCODE_F11},
};

inline Key keyOf(SDL_Scancode code) {
    for (const KeyScancode& k : EventKeys)
        if (k.scancode == code) return k.key;
    return Key::Other;
}

inline SDL_Scancode scancodeOf(Key key) {
    for (const KeyScancode& k : EventKeys)
        if (k.key == key) return k.scancode;
    return SDL_SCANCODE_UNKNOWN;
}

} // namespace platform
