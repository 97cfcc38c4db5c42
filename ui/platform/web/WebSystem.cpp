// The browser's clock, sleep, clipboard, message box and font.
#include "ui/platform/web/WebCanvas.h"
#include "ui/platform/web/WebPage.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdlib>

namespace platform {
namespace {
std::uint64_t lastYieldUs = 0;

void waitFrame(double ms) {
    twirlstick_wait_frame(ms);
    lastYieldUs = nowUs();
}
} // namespace

namespace web {
void yieldIfStarved() {
    constexpr std::uint64_t LongestUs = 50'000; // three frames
    if (firstFrameDrawn() && nowUs() - lastYieldUs > LongestUs) waitFrame(0.0);
}
} // namespace web

// The working folder is ready by now (and loaded from IndexedDB before the game began).
bool initSystems() {
    web::importLinkedStage();
    return true;
}

void shutdownSystems() {
    twirlstick_game_ended();
}

bool endsProgram() {
    return false;
}

void holdUnsavedWork(bool holds) {
    static bool told = false;
    if (holds != told) twirlstick_hold_unsaved_work(holds ? 1 : 0);
    told = holds;
}

bool hasTouchScreen() {
    return twirlstick_touch_screen() != 0;
}

bool recordsAtOrigin() {
    static const bool marked = twirlstick_records_at_origin() != 0; // the page does not change
    return marked;
}

std::uint64_t nowUs() {
    return std::uint64_t(emscripten_get_now() * 1000.0);
}

// The loop yields to the browser here: events arrive, the picture is shown, and frames follow
// the display's requestAnimationFrame rather than a timer of their own.
void sleepUntilUs(std::uint64_t us, std::uint32_t earlyUs) {
    const std::uint64_t deadline = us - std::min<std::uint64_t>(us, earlyUs);
    const std::uint64_t now = nowUs();
    waitFrame(now < deadline ? double(deadline - now) / 1000.0 : 0.0);
}

// The page learns a key's place (KeyboardEvent.code) but not the layout's word for it.
std::string keyNameAtPlace(char usLetter) {
    return std::string(1, usLetter);
}

// A page is given no command line.
std::vector<std::string> layoutKeyNames(std::string_view) {
    return {};
}

std::string clipboardText() {
    char* text = twirlstick_pasted_text();
    std::string result = text ? text : "";
    std::free(text);
    return result;
}

bool copyStageLink(const std::string& stageFile) {
    twirlstick_copy_stage_link(stageFile.data(), int(stageFile.size()));
    return true;
}

void showSimpleMessageBox(const std::string& caption, const std::string& text) {
    twirlstick_alert(caption.c_str(), text.c_str());
}

// The page carries its own copy of the font.
std::string findFontFile(const char*) {
    return {};
}

bool fetchLater(const char* path) {
    return twirlstick_fetch_later(path) != 0;
}

} // namespace platform
