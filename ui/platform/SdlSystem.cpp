// SDL start-up, the clock, the clipboard and the simple message box.
#include "ui/platform/Platform.h"

#include <SDL.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace platform {
namespace {
const char* shown(const char* value) {
    return value && *value ? value : "(unset)";
}

bool invisibleDriver() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

// With no display SDL quietly picks a driver that draws nowhere: the game would run as an
// invisible process (and under "dummy" never see a termination signal).
bool refuseInvisibleDriver() {
    if (!invisibleDriver()) return true;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (const char* asked = SDL_getenv("SDL_VIDEODRIVER"); asked && *asked)
        std::fprintf(stderr,
                     "twirlstick: the SDL video driver \"%s\" shows no window; the game needs a display\n",
                     driver);
    else
        std::fprintf(stderr, "twirlstick: cannot open a display (DISPLAY=%s, WAYLAND_DISPLAY=%s)\n",
                     shown(SDL_getenv("DISPLAY")), shown(SDL_getenv("WAYLAND_DISPLAY")));
    SDL_Quit();
    return false;
}
} // namespace

bool initSystems() {
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");
    // The close box already arrives as a window close request; a second, SDL_QUIT, would
    // answer the quit question with Cancel the moment it opens.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "twirlstick: cannot open a display: %s\n", SDL_GetError());
        return false;
    }
    if (!refuseInvisibleDriver()) return false;
    // A machine without gamepad support still plays with the keyboard and the mouse.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        std::fprintf(stderr, "twirlstick: no gamepads: %s\n", SDL_GetError());
    return true;
}

void shutdownSystems() {
    SDL_Quit();
}

bool endsProgram() {
    return true;
}

void holdUnsavedWork(bool) {}

bool hasTouchScreen() {
    return false;
}

bool recordsAtOrigin() {
    return false;
}

std::uint64_t nowUs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return std::uint64_t(t.tv_sec) * 1'000'000 + std::uint64_t(t.tv_nsec) / 1000;
}

void sleepUntilUs(std::uint64_t us, std::uint32_t earlyUs) {
    const std::uint64_t ns = (us - std::min<std::uint64_t>(us, earlyUs)) * 1000;
    timespec deadline{};
    deadline.tv_sec = time_t(ns / 1'000'000'000);
    deadline.tv_nsec = long(ns % 1'000'000'000);
    // A signal interrupts the sleep; sleeping on to the same deadline costs at most one frame
    // before the loop sees the quit event SDL made of it.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

std::string clipboardText() {
    char* text = SDL_GetClipboardText();
    std::string result = text ? text : "";
    SDL_free(text);
    return result;
}

std::string keyNameAtPlace(char usLetter) {
    const auto scancode = SDL_Scancode(SDL_SCANCODE_A + (usLetter - 'A'));
    const char* name = SDL_GetKeyName(SDL_GetKeyFromScancode(scancode));
    // A dead key or an unnamed one (a layout without the key) keeps the US letter.
    if (!name || !*name || (usLetter < 'A' || usLetter > 'Z')) return std::string(1, usLetter);
    return name;
}

// A driver that draws nowhere has only its built-in US keymap, which says nothing of the player's.
// Without a display named SDL is not asked at all: its search would leave words on stderr.
std::vector<std::string> layoutKeyNames(std::string_view usLetters) {
    std::vector<std::string> names;
    const bool named = (SDL_getenv("DISPLAY") && *SDL_getenv("DISPLAY")) ||
                       (SDL_getenv("WAYLAND_DISPLAY") && *SDL_getenv("WAYLAND_DISPLAY"));
    if (!named || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return names;
    if (!invisibleDriver())
        for (const char letter : usLetters)
            names.push_back(keyNameAtPlace(letter));
    SDL_Quit();
    return names;
}

bool copyStageLink(const std::string&) {
    return false;
}

std::string takeLinkedStage() {
    return {};
}

// The game folder comes whole: nothing arrives later.
bool fetchLater(const char*) {
    return false;
}

void showSimpleMessageBox(const std::string& caption, const std::string& text) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
}

} // namespace platform
