// The page's canvas as the game window, with its WebGL context.
#include "core/base/Utf.h"
#include "core/lang/Translate.h"
#include "ui/platform/web/WebCanvas.h"
#include "ui/platform/web/WebPage.h"

#include <emscripten/html5.h>

#include <cstdio>

namespace platform {
namespace {
bool created = false;
bool shown = false;
bool frameDrawn = false;
} // namespace

namespace web {
bool fitCanvas() {
    return twirlstick_fit_canvas() != 0;
}

bool firstFrameDrawn() {
    return frameDrawn;
}
} // namespace web

// The page's title and favicon stand for the window's.
void setWindowClassName(const char*) {}
void setWindowIcon(const std::uint8_t*, int) {}
bool showsWindowIcon() {
    return false;
}

// The canvas fills the page, whatever size is asked for: the game letterboxes its 4:3 picture.
bool createWindow(const char*, int, int) {
    web::fitCanvas();
    if (!twirlstick_create_context()) {
        std::fprintf(stderr, "twirlstick: the browser gives no WebGL context\n");
        // The page would otherwise say only that the game ended.
        twirlstick_show_status(
            "webgl", toUtf8(tr(u"このブラウザーはゲームの描画に使う WebGL をページに与えません。"
                               u"ブラウザーの設定でハードウェア アクセラレーション（または WebGL）を"
                               u"オンにするか、グラフィック ドライバーを更新するか、別のブラウザーを"
                               u"試してください。"))
                         .c_str());
        return false;
    }
    web::installEventCallbacks();
    created = true;
    return true;
}

void destroyWindow() {
    created = false;
}

bool hasWindow() {
    return created;
}

// The page has focus when it starts (the player just opened it); events say when that changes.
void showWindow() {
    shown = true;
    Event event;
    event.kind = EventKind::FocusGained;
    web::pushEvent(event);
}

// The browser shows what was drawn when the game next yields to it. The first swap after the
// window is shown ends the game's first frame (earlier ones only clear the canvas): the page
// then fetches what its first download left out.
void swapWindow() {
    if (!shown || frameDrawn) return;
    frameDrawn = true;
    twirlstick_first_frame();
}

// The browser shows each frame from a fresh buffer: nothing is ever left in one.
std::uint64_t swapCount() {
    return 0;
}

bool setSwapInterval(int) {
    return true;
}

void drawableSize(int& width, int& height) {
    emscripten_get_canvas_element_size(web::CanvasSelector, &width, &height);
}

// The browser sizes the WebGL drawing buffer down to what it can take by itself.
void setWindowSizeLimit(int) {}

void setDesktopFullscreen(bool on, int, int) {
    if (!on) {
        emscripten_exit_fullscreen();
        return;
    }
    EmscriptenFullscreenStrategy strategy{};
    strategy.scaleMode = EMSCRIPTEN_FULLSCREEN_SCALE_STRETCH;
    strategy.canvasResolutionScaleMode = EMSCRIPTEN_FULLSCREEN_CANVAS_SCALE_HIDEF;
    strategy.filteringMode = EMSCRIPTEN_FULLSCREEN_FILTERING_DEFAULT;
    // Browsers allow full screen only from a key or click handler; deferred, it waits for one.
    emscripten_request_fullscreen_strategy(web::CanvasSelector, true, &strategy);
}

} // namespace platform
