// Synthetic input for tests: events go through SDL's own queue, so they reach the game exactly
// as a player's would.
#include "platform/Synthetic.h"

#include "platform/SdlKeys.h"

#include <SDL.h>

#include <cstring>

namespace platform {

void pushKeyPress(Key key, bool ctrl, bool alt, bool shift) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.scancode = scancodeOf(key);
    e.key.keysym.mod = Uint16((ctrl ? KMOD_LCTRL : 0) | (alt ? KMOD_LALT : 0) | (shift ? KMOD_LSHIFT : 0));
    SDL_PushEvent(&e);
    e.type = SDL_KEYUP;
    SDL_PushEvent(&e);
}

void pushGameKeyTap(int gameKey) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.scancode = GameKeyScancodes[gameKey];
    SDL_PushEvent(&e);
    e.type = SDL_KEYUP;
    SDL_PushEvent(&e);
}

void pushText(const std::string& utf8) {
    // SDL carries at most 31 bytes per text event; longer text goes in whole characters.
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t n = std::min<std::size_t>(utf8.size() - i, 31);
        while (n > 0 && i + n < utf8.size() && (static_cast<unsigned char>(utf8[i + n]) & 0xC0) == 0x80)
            --n;
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        std::memcpy(e.text.text, utf8.data() + i, n);
        SDL_PushEvent(&e);
        i += n;
    }
}

void pushWheel(float notches) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.preciseY = notches;
    e.wheel.y = int(notches);
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&e);
}

void pushDroppedFile(const std::string& path) {
    SDL_Event e{};
    e.type = SDL_DROPFILE;
    e.drop.file = SDL_strdup(path.c_str()); // the receiver frees it, as it frees SDL's own
    if (SDL_Window* window = SDL_GL_GetCurrentWindow()) e.drop.windowID = SDL_GetWindowID(window);
    SDL_PushEvent(&e);
}

void pushCloseRequest() {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    if (SDL_Window* window = SDL_GL_GetCurrentWindow()) e.window.windowID = SDL_GetWindowID(window);
    SDL_PushEvent(&e);
}

void pushTerminate() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

void setClipboardText(const std::string& utf8) {
    SDL_SetClipboardText(utf8.c_str());
}

} // namespace platform
