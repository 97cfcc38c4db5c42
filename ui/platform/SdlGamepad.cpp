#include "ui/platform/SdlGamepad.h"

#include <cstdlib>
#include <vector>

namespace platform::gamepad {
namespace {
// Past a quarter of its travel a stick or trigger counts as pushed: worn sticks rest off centre.
constexpr Sint16 Threshold = 8192;
// The arrow keys' repeat, close to a keyboard's usual delay and rate.
constexpr Uint64 RepeatDelayMs = 400;
constexpr Uint64 RepeatEveryMs = 80;

std::vector<SDL_GameController*> pads;
bool latch[MouseButtonCount] = {};
Key heldDirection = Key::Other;
Uint64 nextRepeat = 0;

void keyDown(Event& event, Key key, bool repeat = false) {
    event = Event{};
    event.kind = EventKind::KeyDown;
    event.key = key;
    event.repeat = repeat;
}

void close(SDL_JoystickID id) {
    for (auto it = pads.begin(); it != pads.end(); ++it) {
        if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(*it)) != id) continue;
        SDL_GameControllerClose(*it);
        pads.erase(it);
        return;
    }
}

Key directionOf(SDL_GameController* pad) {
    const struct {
        SDL_GameControllerButton button;
        Key key;
    } dpad[] = {{SDL_CONTROLLER_BUTTON_DPAD_UP, Key::Up},
                {SDL_CONTROLLER_BUTTON_DPAD_DOWN, Key::Down},
                {SDL_CONTROLLER_BUTTON_DPAD_LEFT, Key::Left},
                {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, Key::Right}};
    for (const auto& d : dpad)
        if (SDL_GameControllerGetButton(pad, d.button)) return d.key;
    const int x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    const int y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
    if (std::abs(x) < Threshold && std::abs(y) < Threshold) return Key::Other;
    if (std::abs(x) > std::abs(y)) return x < 0 ? Key::Left : Key::Right;
    return y < 0 ? Key::Up : Key::Down; // the stick's y grows downwards
}
} // namespace

bool translate(const SDL_Event& e, Event& event) {
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED:
        if (SDL_GameController* pad = SDL_GameControllerOpen(e.cdevice.which)) pads.push_back(pad);
        return false;
    case SDL_CONTROLLERDEVICEREMOVED:
        close(e.cdevice.which);
        event = Event{};
        event.kind = EventKind::GamepadRemoved;
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
        switch (e.cbutton.button) {
        case SDL_CONTROLLER_BUTTON_A:
            latch[0] = true;
            keyDown(event, Key::Z);
            event.pivot = true;
            event.gamepad = true;
            return true;
        case SDL_CONTROLLER_BUTTON_B:
            latch[1] = true;
            return false;
        case SDL_CONTROLLER_BUTTON_X:
            latch[2] = true;
            return false;
        case SDL_CONTROLLER_BUTTON_START:
            keyDown(event, Key::P);
            return true;
        case SDL_CONTROLLER_BUTTON_BACK:
            keyDown(event, Key::Escape);
            return true;
        default:
            return false;
        }
    default:
        return false;
    }
}

bool directionEvent(Event& event) {
    Key now = Key::Other;
    for (SDL_GameController* pad : pads)
        if (now == Key::Other) now = directionOf(pad);
    const Uint64 ms = SDL_GetTicks64();
    if (now != heldDirection) {
        heldDirection = now;
        nextRepeat = ms + RepeatDelayMs;
        if (now == Key::Other) return false;
        keyDown(event, now);
        return true;
    }
    if (now == Key::Other || ms < nextRepeat) return false;
    nextRepeat = ms + RepeatEveryMs;
    keyDown(event, now, true);
    return true;
}

void addHeldButtons(bool (&buttons)[MouseButtonCount]) {
    for (SDL_GameController* pad : pads) {
        buttons[0] = buttons[0] || SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_A);
        buttons[1] = buttons[1] || SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_B) ||
                     SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) >= Threshold;
        buttons[2] = buttons[2] || SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_X);
    }
    for (int i = 0; i < MouseButtonCount; ++i) {
        buttons[i] = buttons[i] || latch[i];
        latch[i] = false;
    }
}

void releaseLatched() {
    for (bool& b : latch)
        b = false;
}

} // namespace platform::gamepad
