#pragma once
// How both back ends turn presses into what a poll reads: a game key or button pressed and let go
// between two polls still reads as held once, in the next snapshot, so no quick tap is lost to a
// slow frame; a game key that went down with Ctrl is a shortcut, not the game's key, until it is
// let go. Focus lost: the releases may never arrive, so everything latched is dropped.
#include "ui/platform/Platform.h"

#include <array>

namespace platform {

class InputLatches {
public:
    void keyDown(int key, bool ctrl) {
        chorded_[key] = ctrl;
        keys_[key] = !ctrl;
    }
    void keyUp(int key) { chorded_[key] = false; }
    void buttonDown(int button) { buttons_[button] = true; }

    // The snapshot's reading of a key or button the platform says is `held` now (or not); the
    // latch is spent by the reading.
    bool takeKey(int key, bool held) {
        const bool reads = (held || keys_[key]) && !chorded_[key];
        keys_[key] = false;
        return reads;
    }
    bool takeButton(int button, bool held) {
        const bool reads = held || buttons_[button];
        buttons_[button] = false;
        return reads;
    }

    void releaseAll() { *this = {}; }

private:
    std::array<bool, GameKeyCount> keys_{};
    std::array<bool, GameKeyCount> chorded_{};
    std::array<bool, MouseButtonCount> buttons_{};
};

} // namespace platform
