#pragma once
// What a scene works with, handed to it by the scene master that runs it instead of reached for
// program-wide: this frame's input and the pause asked for around it, the files dropped on the
// window, the view's size, the glyphs and cameras it draws with, the window, the settings in use,
// the session that outlives the scene and the tie to the online records.
#include "core/play/GameSession.h"
#include "core/settings/Settings.h"
#include "ui/render/Draw.h"
#include "ui/render/GlyphCache.h"
#include "ui/system/GameWindow.h"
#include "ui/system/InputState.h"
#include "ui/system/OnlineLink.h"

#include <string>
#include <utility>
#include <vector>

class GameSystem;

struct FrameContext {
    const KeyState& keys;
    const MouseState& mouse;
    // The window lost focus, a gamepad went away or a box was open: play pauses at its update.
    const bool& pauseRequested;
    std::vector<std::string>& drops; // in order, kept until a scene takes them
    GlyphCache& glyphs;
    CameraStack& cameras;
    Lib::System::CGameWindow& window;
    Settings& settings; // in use: the file's at start, then the options screen's
    GameSession& session;
    const int& viewWidth; // the window's drawable size, and its pixels per view unit
    const int& viewHeight;
    const float& scale;
    OnlineLink& online; // follows `settings`

    std::vector<std::string> TakeDrops() const { return std::exchange(drops, {}); }
};

// The context over the game's system, for the scene master that runs the scenes on it.
FrameContext frameContextOf(GameSystem& system, GameSession& session);
