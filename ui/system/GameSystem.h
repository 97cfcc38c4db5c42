#pragma once
// The program-wide hub: the window and its context, the loop, the polled input, the camera
// stack and the glyph cache. Exactly one exists while the game runs, reached through TheGameSystem.
#include "core/settings/Settings.h"
#include "core/stage/View.h"
#include "ui/render/Draw.h"
#include "ui/render/GlyphCache.h"
#include "ui/system/GameWindow.h"
#include "ui/system/Handler.h"
#include "ui/system/InputState.h"
#include "ui/system/MessageLoop.h"
#include "ui/system/OnlineLink.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

inline constexpr const char* FontPath = "IPAfont00203/ipagp.ttf";

class GameSystem {
public:
    // Builds the window (hidden), its context and the glyph cache drawing with the font file at
    // `fontPath`. When the window or its context cannot be made (reported on stderr), Ready() is
    // false and nothing else is built.
    explicit GameSystem(const std::string& fontPath);
    ~GameSystem();
    GameSystem(const GameSystem&) = delete;
    GameSystem& operator=(const GameSystem&) = delete;

    bool Ready() const { return glyphCache != nullptr; }
    ViewMapping View() const { return {viewWidth, viewHeight, scale}; }
    // One input poll, as the idle turn makes it.
    void PollInput();
    // The poll's second half, from a snapshot of the platform's state.
    void TakeInput(platform::InputSnapshot snap);
    // Focus lost: a button held now may be let go where the game never hears of it, so it reads
    // as up until the platform says up or a fresh press of it arrives (ButtonPressed).
    void ReleaseHeldButtons();
    void ButtonPressed(int button);
    // After a modal box: what is held now counts as held before too, so the click that closed
    // the box does not reach the scene below as a fresh press.
    void SettleInput();
    // The scene changed in this turn: the arrows and page keys typed after the last other key
    // (the Return that chose, say) are the next scene's, read at the next poll; so a quick Return
    // then Right opens the stage select on its second page. Only keys that move a highlight go
    // on, never one that chooses.
    void PassOnLaterPresses();
    std::vector<std::string> TakeDrops() { return std::exchange(pendingDrops, {}); }

    int baseWidth = ViewWidth;
    int baseHeight = ViewHeight;
    int viewWidth = ViewWidth;
    int viewHeight = ViewHeight;
    float scale = 1.0f;
    bool vsync = true;
    bool active = false;
    Lib::System::Handler* handler = nullptr;
    bool QuitRequested = false;
    // The window lost focus, a gamepad went away or a box was open: play pauses. Seen by the next
    // scene update.
    bool pauseRequested = false;
    std::int32_t wheelAccumulator = 0;
    bool staleButtons[platform::MouseButtonCount] = {}; // held at focus loss, not pressed since
    // The settings in use (the file's at start, then the options screen's): what the options
    // screen shows, whatever another running copy wrote to the file since.
    Settings settings;
    std::vector<KeyChord> pendingChords;  // typed since the last poll
    std::vector<KeyPress> pendingPresses; // typed since the last poll
    // Dropped on the window, in order, and kept until a scene takes them: a turn without focus
    // or a box standing open loses none.
    std::vector<std::string> pendingDrops;
    KeyState keyState;
    MouseState mouseState;
    CameraStack cameraStack;
    std::unique_ptr<Lib::System::CIdlingMessageLoop> messageLoop;
    std::unique_ptr<Lib::System::CGameWindow> window;
    std::unique_ptr<GlyphCache> glyphCache;
    // Follows `settings`. After the glyph cache, so it goes first: its status line's label leaves
    // the cache as it goes.
    OnlineLink online;
};

extern GameSystem* TheGameSystem;
