#include "ui/system/GameSystem.h"

#include <algorithm>

GameSystem* TheGameSystem = nullptr;

namespace {
bool movesHighlight(const KeyPress& press) {
    using platform::Key;
    switch (press.key) {
    case Key::Left:
    case Key::Right:
    case Key::Up:
    case Key::Down:
    case Key::Home:
    case Key::End:
    case Key::PageUp:
    case Key::PageDown:
    case Key::Tab:
        return !press.pivot;
    default:
        return false;
    }
}
} // namespace

GameSystem::GameSystem(const std::string& fontPath)
    : messageLoop(std::make_unique<Lib::System::CIdlingMessageLoop>()),
      window(std::make_unique<Lib::System::CGameWindow>(this)) {
    // Without a window there is no context for the glyph texture; the entry sees that and ends.
    if (!window->Create(*messageLoop)) return;
    // Needs the context the window just made: it creates the glyph texture.
    glyphCache = std::make_unique<GlyphCache>(fontPath);
}

GameSystem::~GameSystem() {
    // The context goes before the window and both before SDL shuts down; a context left for
    // the process exit to tear down can hang in the software renderer's thread pool.
    window->DestroyWindow();
}

void GameSystem::PollInput() {
    TakeInput(platform::takeInputSnapshot());
}

void GameSystem::TakeInput(platform::InputSnapshot snap) {
    for (int b = 0; b < platform::MouseButtonCount; ++b) {
        if (!snap.buttons[b]) staleButtons[b] = false; // let go, so the platform knows again
        if (staleButtons[b]) snap.buttons[b] = false;
    }
    keyState.UpdateKeys(snap);
    keyState.chords.swap(pendingChords);
    pendingChords.clear();
    keyState.presses.swap(pendingPresses);
    pendingPresses.clear();
    UpdateMouse(mouseState, snap, View(), wheelAccumulator);
}

void GameSystem::SettleInput() {
    PollInput();
    for (int i = 0; i < KeyCount; ++i)
        keyState.previous[i] = keyState.current[i];
    for (int b = 0; b < MouseButtonCount; ++b)
        mouseState.previousDown[b] = mouseState.down[b];
    mouseState.previousCursor = mouseState.cursor;
}

void GameSystem::PassOnLaterPresses() {
    const auto later = std::find_if_not(keyState.presses.rbegin(), keyState.presses.rend(), movesHighlight);
    pendingPresses.insert(pendingPresses.begin(), later.base(), keyState.presses.end());
}

void GameSystem::ReleaseHeldButtons() {
    for (bool& stale : staleButtons)
        stale = true;
}

void GameSystem::ButtonPressed(int button) {
    if (button >= 0 && button < platform::MouseButtonCount) staleButtons[button] = false;
}
