#pragma once
// The game window: its OpenGL context, the letterboxed viewport, full screen, the quit
// question and the idle turn that runs one frame.
#include "system/MessageLoop.h"

class GameSystem;

namespace Lib::System {

// The window's X11 class; a desktop entry names it to match its launcher with the window.
inline constexpr const char* WindowClassName = "LIB_GAME_WINDOW";
// Pixels a side of the window's icon: window managers scale it to their own sizes.
inline constexpr int WindowIconSize = 64;

class CGameWindow : public IdleHandler, public EventTarget {
public:
    explicit CGameWindow(GameSystem* system) : system_(system) {}

    // Makes the hidden window with its context, sets up GL and registers the idle turn.
    bool Create(CIdlingMessageLoop& loop);
    void HandleEvent(const platform::Event& event) override;
    bool OnIdle() override;
    void ApplyViewport();
    void ToggleFullScreen();
    // Close box, Alt+F4 and Escape all end here: asks the quit question.
    void RequestClose();
    void DestroyWindow();
    void SwapBuffers();

private:
    void SetupContext();
    void TakeDrawableSize();

    GameSystem* system_;
    CIdlingMessageLoop* loop_ = nullptr;
    bool fullScreen_ = false;
};

} // namespace Lib::System
