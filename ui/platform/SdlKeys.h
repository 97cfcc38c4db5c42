#pragma once
// The keys the game knows, as SDL scancodes: shared by the event translation and the synthetic
// input of the tests so the two can never disagree. Included by platform/ only.
#include "ui/platform/Platform.h"

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
    {Key::F, SDL_SCANCODE_F},
    {Key::F5, SDL_SCANCODE_F5},
    {Key::F11, SDL_SCANCODE_F11},
};

// The letter keys the game knows, by what they type.
struct KeyLetter {
    Key key;
    SDL_Keycode letter;
};
inline constexpr KeyLetter LetterKeys[] = {
    {Key::A, SDLK_a}, {Key::C, SDLK_c}, {Key::F, SDLK_f}, {Key::G, SDLK_g}, {Key::P, SDLK_p},
    {Key::S, SDLK_s}, {Key::V, SDLK_v}, {Key::Y, SDLK_y}, {Key::Z, SDLK_z},
};

// A key as a key-down event names it: a key that types a Latin letter by that letter (so the
// shortcuts follow the layout), any other by its place (so a layout without Latin letters keeps
// the US letters in the US places).
inline Key keyOf(SDL_Scancode code, SDL_Keycode typed) {
    if (typed >= SDLK_a && typed <= SDLK_z) {
        for (const KeyLetter& k : LetterKeys)
            if (k.letter == typed) return k.key;
        return Key::Other;
    }
    for (const KeyScancode& k : EventKeys)
        if (k.scancode == code) return k.key;
    return Key::Other;
}

// What a US layout types on the key of `key`'s place: synthetic input sends it.
inline SDL_Keycode letterOf(Key key) {
    for (const KeyLetter& k : LetterKeys)
        if (k.key == key) return k.letter;
    return SDLK_UNKNOWN;
}

inline SDL_Scancode scancodeOf(Key key) {
    for (const KeyScancode& k : EventKeys)
        if (k.key == key) return k.scancode;
    return SDL_SCANCODE_UNKNOWN;
}

} // namespace platform
