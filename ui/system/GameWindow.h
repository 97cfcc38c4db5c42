#pragma once
// The game window: its OpenGL context, the letterboxed viewport, full screen, the quit
// question and the idle turn that runs one frame.
#include "core/stage/View.h"
#include "ui/system/MessageLoop.h"

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
    void SetFullScreen(bool on) {
        if (on != fullScreen_) ToggleFullScreen();
    }
    bool FullScreen() const { return fullScreen_; }
    // The most drawable pixels a side the window and the viewport take (Create sets what the
    // renderer can take); a larger window is shrunk and never drawn at that size.
    void LimitSurface(int side);
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
    int surfaceLimit_ = MaxSurfaceSide;
};

} // namespace Lib::System
