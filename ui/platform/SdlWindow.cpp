// The game window, its OpenGL context, event translation and input polling.
#include "ui/platform/InputLatches.h"
#include "ui/platform/Platform.h"
#include "ui/platform/SdlGamepad.h"
#include "ui/platform/SdlKeys.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {
SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
std::uint64_t swaps = 0;

int sizeLimit = 0;                 // drawable pixels a side; 0 until the game sets it
bool borderlessFullScreen = false; // full screen on a desktop larger than the limit
SDL_Rect lastWindowed{};           // the window before full screen; empty when it started full screen

InputLatches latches;

int buttonIndex(Uint8 sdlButton) {
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        return 0;
    case SDL_BUTTON_RIGHT:
        return 1;
    case SDL_BUTTON_MIDDLE:
        return 2;
    default:
        return -1;
    }
}

void keyWentDown(SDL_Scancode code, bool ctrl) {
    for (int i = 0; i < GameKeyCount; ++i) {
        if (GameKeyScancodes[i] == code) latches.keyDown(i, ctrl);
    }
}

void keyWentUp(SDL_Scancode code) {
    for (int i = 0; i < GameKeyCount; ++i)
        if (GameKeyScancodes[i] == code) latches.keyUp(i);
}

// Window points for `pixels` drawable pixels along a side whose points and pixels are given:
// a HiDPI screen has more pixels than points.
int pointsFor(int pixels, int points, int drawable) {
    if (points <= 0 || drawable <= points) return pixels;
    return int(std::int64_t(pixels) * points / drawable);
}

// The window's largest size in points under the limit, for its current pixel density.
void limitInPoints(int& width, int& height) {
    int ww = 0, wh = 0, dw = 0, dh = 0;
    SDL_GetWindowSize(window, &ww, &wh);
    SDL_GL_GetDrawableSize(window, &dw, &dh);
    width = pointsFor(sizeLimit, ww, dw);
    height = pointsFor(sizeLimit, wh, dh);
}

// Shrinks a window that something made larger than the limit: a window manager may ignore the
// maximum size the window states, and any X client may resize any window.
void clampWindowSize() {
    if (!window || sizeLimit <= 0) return;
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(window, &dw, &dh);
    if (dw <= sizeLimit && dh <= sizeLimit) return;
    int ww = 0, wh = 0, maxW = 0, maxH = 0;
    SDL_GetWindowSize(window, &ww, &wh);
    limitInPoints(maxW, maxH);
    SDL_SetWindowSize(window, std::min(ww, maxW), std::min(wh, maxH));
}

// None for the window events the game has no use for.
EventKind windowEventKind(Uint8 windowEvent) {
    switch (windowEvent) {
    case SDL_WINDOWEVENT_CLOSE:
        return EventKind::CloseRequest;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        return EventKind::FocusGained;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        return EventKind::FocusLost;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        return EventKind::Resized;
    default:
        return EventKind::None;
    }
}
} // namespace

void setWindowClassName(const char* name) {
    // This SDL reads the class from the environment once, when video starts; a class the
    // user set there wins.
    setenv("SDL_VIDEO_X11_WMCLASS", name, 0);
}

bool showsWindowIcon() {
    return true;
}

void setWindowIcon(const std::uint8_t* rgba, int size) {
    if (!window) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(rgba), size, size, 32,
                                                              size * 4, SDL_PIXELFORMAT_RGBA32);
    if (!surface) return; // the window manager's default icon is shown instead
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

bool createWindow(const char* title, int clientWidth, int clientHeight) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    const auto create = [&] {
        return SDL_CreateWindow(
            title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, clientWidth, clientHeight,
            SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE);
    };
    window = create();
    if (!window) {
        // Some servers offer no 8-bit alpha visual; the game never reads destination alpha.
        SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
        window = create();
    }
    if (!window) {
        std::fprintf(stderr, "twirlstick: cannot create the window: %s\n", SDL_GetError());
        return false;
    }
    // Smaller than a quarter of the picture's side, its texts could not be read.
    SDL_SetWindowMinimumSize(window, clientWidth / 4, clientHeight / 4);
    context = SDL_GL_CreateContext(window);
    if (!context) {
        std::fprintf(stderr, "twirlstick: cannot create the OpenGL context: %s\n", SDL_GetError());
        destroyWindow();
        return false;
    }
    if (SDL_GL_MakeCurrent(window, context) != 0) {
        std::fprintf(stderr, "twirlstick: cannot use the OpenGL context: %s\n", SDL_GetError());
        destroyWindow();
        return false;
    }
    // An input method would otherwise swallow the game's keys; the input box turns it on.
    SDL_StopTextInput();
    return true;
}

void destroyWindow() {
    if (context) {
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (window) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
}

bool hasWindow() {
    return window != nullptr;
}

void showWindow() {
    if (!window) return;
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
}

void swapWindow() {
    if (!window) return;
    SDL_GL_SwapWindow(window);
    ++swaps;
}

std::uint64_t swapCount() {
    return swaps;
}

bool setSwapInterval(int interval) {
    return SDL_GL_SetSwapInterval(interval) == 0;
}

void drawableSize(int& width, int& height) {
    if (window) SDL_GL_GetDrawableSize(window, &width, &height);
}

void setDesktopFullscreen(bool on, int windowedWidth, int windowedHeight) {
    if (!window) return;
    if (on) {
        // Full screen and back gives the player the window they had, not the one the game opened.
        SDL_GetWindowSize(window, &lastWindowed.w, &lastWindowed.h);
        SDL_GetWindowPosition(window, &lastWindowed.x, &lastWindowed.y);
        SDL_Rect desktop{};
        int maxW = 0, maxH = 0;
        limitInPoints(maxW, maxH);
        if (sizeLimit <= 0 || SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &desktop) != 0 ||
            (desktop.w <= maxW && desktop.h <= maxH)) {
            SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
            return;
        }
        // A desktop-sized surface would be larger than the renderer takes: the limit's size,
        // centred on the desktop, with the border off.
        borderlessFullScreen = true;
        SDL_SetWindowBordered(window, SDL_FALSE);
        const int w = std::min(desktop.w, maxW), h = std::min(desktop.h, maxH);
        SDL_SetWindowSize(window, w, h);
        SDL_SetWindowPosition(window, desktop.x + (desktop.w - w) / 2, desktop.y + (desktop.h - h) / 2);
        return;
    }
    // Leave full screen first: a resize asked for while still full screen can be lost.
    if (borderlessFullScreen)
        SDL_SetWindowBordered(window, SDL_TRUE);
    else
        SDL_SetWindowFullscreen(window, 0);
    borderlessFullScreen = false;
    if (lastWindowed.w > 0 && lastWindowed.h > 0) { // the size and place it had
        SDL_SetWindowSize(window, lastWindowed.w, lastWindowed.h);
        SDL_SetWindowPosition(window, lastWindowed.x, lastWindowed.y);
        lastWindowed = SDL_Rect{};
        return;
    }
    SDL_SetWindowSize(window, windowedWidth, windowedHeight); // full screen from the start
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

void setWindowSizeLimit(int pixels) {
    sizeLimit = pixels;
    if (!window) return;
    int maxW = 0, maxH = 0;
    limitInPoints(maxW, maxH);
    SDL_SetWindowMaximumSize(window, maxW, maxH);
    clampWindowSize();
}

bool pollEvent(Event& event) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        event = Event{};
        switch (e.type) {
        case SDL_QUIT: // only signals send it: window closes come as window events
            event.kind = EventKind::Terminate;
            return true;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                clampWindowSize(); // before a draw at that size
            event.kind = windowEventKind(e.window.event);
            if (event.kind == EventKind::None) continue;
            return true;
        case SDL_KEYUP:
            keyWentUp(e.key.keysym.scancode);
            continue;
        case SDL_KEYDOWN:
            if (!e.key.repeat) keyWentDown(e.key.keysym.scancode, (e.key.keysym.mod & KMOD_CTRL) != 0);
            event.kind = EventKind::KeyDown;
            event.key = keyOf(e.key.keysym.scancode, e.key.keysym.sym);
            event.pivot = e.key.keysym.scancode == GameKeyScancodes[0];
            event.repeat = e.key.repeat != 0;
            event.alt = (e.key.keysym.mod & KMOD_ALT) != 0;
            event.ctrl = (e.key.keysym.mod & KMOD_CTRL) != 0;
            event.shift = (e.key.keysym.mod & KMOD_SHIFT) != 0;
            return true;
        case SDL_MOUSEBUTTONDOWN:
            event.button = buttonIndex(e.button.button);
            if (event.button < 0) continue;
            latches.buttonDown(event.button);
            event.kind = EventKind::MouseButtonDown;
            return true;
        case SDL_MOUSEWHEEL:
            event.kind = EventKind::Wheel;
            event.wheelY = e.wheel.preciseY;
            if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) event.wheelY = -event.wheelY;
            return true;
        case SDL_TEXTINPUT:
            event.kind = EventKind::TextInput;
            event.text = e.text.text;
            return true;
        case SDL_TEXTEDITING:
            event.kind = EventKind::TextEditing;
            event.text = e.edit.text;
            event.editCursor = e.edit.start;
            return true;
        case SDL_DROPFILE:
            event.kind = EventKind::DropFile;
            event.text = e.drop.file ? e.drop.file : "";
            SDL_free(e.drop.file);
            if (event.text.empty()) continue;
            return true;
        case SDL_TEXTEDITING_EXT:
            event.kind = EventKind::TextEditing;
            event.text = e.editExt.text ? e.editExt.text : "";
            event.editCursor = e.editExt.start;
            SDL_free(e.editExt.text);
            return true;
        default:
            if (gamepad::translate(e, event)) return true;
            continue;
        }
    }
    return gamepad::directionEvent(event);
}

InputSnapshot takeInputSnapshot() {
    InputSnapshot snap;
    const Uint8* keys = SDL_GetKeyboardState(nullptr);
    for (int i = 0; i < GameKeyCount; ++i)
        snap.keys[i] = latches.takeKey(i, keys[GameKeyScancodes[i]] != 0);
    int x = 0, y = 0;
    const Uint32 buttons = SDL_GetMouseState(&x, &y);
    const Uint32 masks[MouseButtonCount] = {SDL_BUTTON_LMASK, SDL_BUTTON_RMASK, SDL_BUTTON_MMASK};
    for (int i = 0; i < MouseButtonCount; ++i)
        snap.buttons[i] = latches.takeButton(i, (buttons & masks[i]) != 0);
    gamepad::addHeldButtons(snap.buttons);
    // Window coordinates are points; the view mapping works in drawable pixels.
    float sx = 1.0f, sy = 1.0f;
    if (window) {
        int ww = 0, wh = 0, dw = 0, dh = 0;
        SDL_GetWindowSize(window, &ww, &wh);
        SDL_GL_GetDrawableSize(window, &dw, &dh);
        if (ww > 0 && wh > 0) {
            sx = float(dw) / float(ww);
            sy = float(dh) / float(wh);
        }
    }
    snap.cursorX = float(x) * sx;
    snap.cursorY = float(y) * sy;
    return snap;
}

void releaseLatchedInput() {
    latches.releaseAll();
    gamepad::releaseLatched();
}

void startTextInput(int x, int y, int width, int height) {
    SDL_Rect r{x, y, width, height};
    SDL_SetTextInputRect(&r);
    SDL_StartTextInput();
}

void stopTextInput() {
    SDL_StopTextInput();
}

} // namespace platform
