// Synthetic input for tests: events go through SDL's own queue, so they reach the game exactly
// as a player's would.
#include "tests/support/Synthetic.h"

#include "ui/platform/SdlKeys.h"

#include <SDL.h>

#include <cstring>
#include <map>

namespace platform {

void pushKeyPress(Key key, bool ctrl, bool alt, bool shift) {
    pushKeyPressAt(key, key, ctrl, shift, alt);
}

void pushKeyPressAt(Key place, Key letter, bool ctrl, bool shift, bool alt) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.scancode = scancodeOf(place);
    e.key.keysym.sym =
        letterOf(letter) != SDLK_UNKNOWN ? letterOf(letter) : SDL_GetKeyFromScancode(scancodeOf(place));
    e.key.keysym.mod = Uint16((ctrl ? KMOD_LCTRL : 0) | (alt ? KMOD_LALT : 0) | (shift ? KMOD_LSHIFT : 0));
    SDL_PushEvent(&e);
    e.type = SDL_KEYUP;
    SDL_PushEvent(&e);
}

void pushGameKeyTap(int gameKey) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.scancode = GameKeyScancodes[gameKey];
    e.key.keysym.sym = SDL_GetKeyFromScancode(e.key.keysym.scancode);
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

void resizeWindowPastItsLimit(int width, int height) {
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    if (!window) return;
    // Stating the maximum back would shrink the window at once, before the game heard of it.
    SDL_SetWindowMaximumSize(window, width, height);
    SDL_SetWindowSize(window, width, height);
}

void pushTerminate() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

void setClipboardText(const std::string& utf8) {
    SDL_SetClipboardText(utf8.c_str());
}

namespace {
std::map<int, SDL_Joystick*> virtualPads; // by device index
} // namespace

int attachVirtualGamepad() {
    // Under a test runner the window may never hold the focus that pad events otherwise need.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "virtual gamepad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) return -1;
    virtualPads[index] = SDL_JoystickOpen(index);
    return virtualPads[index] ? index : -1;
}

void setVirtualGamepad(int pad, PadInput input, bool held) {
    SDL_Joystick* joystick = virtualPads.count(pad) ? virtualPads[pad] : nullptr;
    if (!joystick) return;
    switch (input) {
    case PadInput::StickLeft:
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, held ? SDL_JOYSTICK_AXIS_MIN : 0);
        return;
    case PadInput::RightTrigger:
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT,
                                   held ? SDL_JOYSTICK_AXIS_MAX : 0);
        return;
    default:
        break;
    }
    static constexpr SDL_GameControllerButton Buttons[] = {
        SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,         SDL_CONTROLLER_BUTTON_X,
        SDL_CONTROLLER_BUTTON_BACK,      SDL_CONTROLLER_BUTTON_START,     SDL_CONTROLLER_BUTTON_DPAD_UP,
        SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT};
    SDL_JoystickSetVirtualButton(joystick, Buttons[int(input)], held ? SDL_PRESSED : SDL_RELEASED);
}

void detachVirtualGamepad(int pad) {
    if (!virtualPads.count(pad)) return;
    SDL_JoystickClose(virtualPads[pad]);
    virtualPads.erase(pad);
    SDL_JoystickDetachVirtual(pad);
}

} // namespace platform
