// The page's keyboard, mouse, wheel, touch, focus and size events, queued as the game's events,
// and the polled input they leave behind.
#include "ui/platform/InputLatches.h"
#include "ui/platform/web/WebCanvas.h"
#include "ui/platform/web/WebKeys.h"
#include "ui/platform/web/WebPage.h"

#include <emscripten/html5.h>

#include <cstdlib>
#include <cstring>
#include <deque>

namespace platform {
namespace {
std::deque<Event> queue;
bool keyHeld[GameKeyCount] = {}; // the page tells of presses and releases only: held is ours
bool buttonHeld[MouseButtonCount] = {};
InputLatches latches;
double cursorCssX = 0.0, cursorCssY = 0.0; // CSS pixels from the canvas's corner
bool textInputOn = false;
long primaryTouch = -1, secondTouch = -1;

// The DOM numbers the middle button 1 and the right 2; the game the other way round.
int buttonIndex(unsigned short domButton) {
    switch (domButton) {
    case 0:
        return 0;
    case 1:
        return 2;
    case 2:
        return 1;
    default:
        return -1;
    }
}

void pressButton(int button) {
    buttonHeld[button] = true;
    latches.buttonDown(button);
    Event event;
    event.kind = EventKind::MouseButtonDown;
    event.button = button;
    web::pushEvent(event);
}

// One code point, as a printable key's KeyboardEvent.key is ("a", "あ", " "); named keys
// ("Enter", "Shift") are longer.
bool isOneCharacter(const char* utf8) {
    const auto lead = static_cast<unsigned char>(utf8[0]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    return length != 0 && std::strlen(utf8) == length && lead >= 0x20 && lead != 0x7F;
}

EM_BOOL onKeyDown(int, const EmscriptenKeyboardEvent* e, void*) {
    const int gameKey = web::gameKeyIndex(e->code);
    if (gameKey >= 0 && !e->repeat) {
        keyHeld[gameKey] = true;
        latches.keyDown(gameKey, e->ctrlKey);
    }
    Event event;
    event.kind = EventKind::KeyDown;
    event.key = web::keyOf(e->code, e->key);
    event.pivot = gameKey == 0; // the key in Z's place
    event.repeat = e->repeat;
    event.alt = e->altKey;
    event.ctrl = e->ctrlKey;
    event.shift = e->shiftKey;
    web::pushEvent(event);
    const bool chord = e->ctrlKey || e->altKey || e->metaKey;
    const bool typed = textInputOn && !chord && isOneCharacter(e->key);
    if (typed) {
        Event text;
        text.kind = EventKind::TextInput;
        text.text = e->key;
        web::pushEvent(text);
    }
    // Ctrl+C, Ctrl+V and the browser's own chords (reload, tabs) go on to the browser; the paste
    // event is how the game sees the clipboard at all.
    return typed || (!chord && (gameKey >= 0 || event.key != Key::Other)) ||
           (e->ctrlKey &&
            (event.key == Key::Z || event.key == Key::Y || event.key == Key::S || event.key == Key::A));
}

EM_BOOL onKeyUp(int, const EmscriptenKeyboardEvent* e, void*) {
    if (const int gameKey = web::gameKeyIndex(e->code); gameKey >= 0) {
        keyHeld[gameKey] = false;
        latches.keyUp(gameKey);
    }
    return false;
}

EM_BOOL onMouseDown(int, const EmscriptenMouseEvent* e, void*) {
    cursorCssX = double(e->targetX);
    cursorCssY = double(e->targetY);
    if (const int button = buttonIndex(e->button); button >= 0) pressButton(button);
    return true;
}

EM_BOOL onMouseUp(int, const EmscriptenMouseEvent* e, void*) {
    if (const int button = buttonIndex(e->button); button >= 0) buttonHeld[button] = false;
    return false;
}

// Listened to on the window, so a drag that leaves the canvas keeps its place; the canvas
// fills the page from its top-left corner, so client coordinates are the canvas's.
EM_BOOL onMouseMove(int, const EmscriptenMouseEvent* e, void*) {
    cursorCssX = double(e->clientX);
    cursorCssY = double(e->clientY);
    return false;
}

EM_BOOL onWheel(int, const EmscriptenWheelEvent* e, void*) {
    // A notch is 100 pixels in Chromium and Firefox, 3 lines where lines are reported.
    const double notches = e->deltaMode == DOM_DELTA_PIXEL  ? e->deltaY / 100.0
                           : e->deltaMode == DOM_DELTA_LINE ? e->deltaY / 3.0
                                                            : e->deltaY;
    Event event;
    event.kind = EventKind::Wheel;
    event.wheelY = float(-notches);
    web::pushEvent(event);
    return true;
}

// A tap is a left click at the finger; a second finger held is the fast (right) button, so a
// phone plays with two thumbs.
EM_BOOL onTouch(int type, const EmscriptenTouchEvent* e, void*) {
    for (int i = 0; i < e->numTouches; ++i) {
        const EmscriptenTouchPoint& t = e->touches[i];
        if (!t.isChanged) continue;
        const bool ends = type == EMSCRIPTEN_EVENT_TOUCHEND || type == EMSCRIPTEN_EVENT_TOUCHCANCEL;
        if (type == EMSCRIPTEN_EVENT_TOUCHSTART && primaryTouch < 0) {
            primaryTouch = t.identifier;
            cursorCssX = double(t.targetX);
            cursorCssY = double(t.targetY);
            pressButton(0);
        } else if (type == EMSCRIPTEN_EVENT_TOUCHSTART && secondTouch < 0) {
            secondTouch = t.identifier;
            buttonHeld[1] = true;
            latches.buttonDown(1);
        } else if (t.identifier == primaryTouch && !ends) {
            cursorCssX = double(t.targetX);
            cursorCssY = double(t.targetY);
        } else if (t.identifier == primaryTouch) {
            primaryTouch = -1;
            buttonHeld[0] = false;
        } else if (t.identifier == secondTouch && ends) {
            secondTouch = -1;
            buttonHeld[1] = false;
        }
    }
    return true; // no mouse events made up from the touches as well
}

void pushKind(EventKind kind) {
    Event event;
    event.kind = kind;
    web::pushEvent(event);
}

EM_BOOL onFocus(int type, const EmscriptenFocusEvent*, void*) {
    pushKind(type == EMSCRIPTEN_EVENT_BLUR ? EventKind::FocusLost : EventKind::FocusGained);
    return false;
}

// A tab put in the background pauses play, as losing the window's focus does on the desktop.
EM_BOOL onVisibility(int, const EmscriptenVisibilityChangeEvent* e, void*) {
    pushKind(e->hidden ? EventKind::FocusLost : EventKind::FocusGained);
    return false;
}

// Paths the page's script queued (dropped files, files fetched after the first frame), as events.
void takePaths(char* (*next)(), EventKind kind) {
    while (char* path = next()) {
        Event event;
        event.kind = kind;
        event.text = path;
        std::free(path);
        web::pushEvent(event);
    }
}

EM_BOOL onResize(int, const EmscriptenUiEvent*, void*) {
    if (web::fitCanvas()) pushKind(EventKind::Resized);
    return false;
}
} // namespace

namespace web {
void pushEvent(const Event& event) {
    // A tab in the background still queues events while nothing takes them: keep the newest.
    constexpr std::size_t MaxQueued = 4096;
    if (queue.size() >= MaxQueued) queue.pop_front();
    queue.push_back(event);
}

void installEventCallbacks() {
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, nullptr, true, onKeyDown);
    emscripten_set_keyup_callback(window, nullptr, true, onKeyUp);
    emscripten_set_mousedown_callback(CanvasSelector, nullptr, true, onMouseDown);
    emscripten_set_mouseup_callback(window, nullptr, true, onMouseUp);
    emscripten_set_mousemove_callback(window, nullptr, true, onMouseMove);
    emscripten_set_wheel_callback(CanvasSelector, nullptr, true, onWheel);
    emscripten_set_touchstart_callback(CanvasSelector, nullptr, true, onTouch);
    emscripten_set_touchmove_callback(CanvasSelector, nullptr, true, onTouch);
    emscripten_set_touchend_callback(CanvasSelector, nullptr, true, onTouch);
    emscripten_set_touchcancel_callback(CanvasSelector, nullptr, true, onTouch);
    emscripten_set_blur_callback(window, nullptr, true, onFocus);
    emscripten_set_focus_callback(window, nullptr, true, onFocus);
    emscripten_set_visibilitychange_callback(nullptr, true, onVisibility);
    emscripten_set_resize_callback(window, nullptr, true, onResize);
}
} // namespace web

bool pollEvent(Event& event) {
    if (queue.empty()) {
        takePaths(twirlstick_next_drop, EventKind::DropFile);
        takePaths(twirlstick_next_arrival, EventKind::FileArrived);
        web::importLinkedStage(); // a link pasted into the open tab
    }
    if (queue.empty()) {
        web::yieldIfStarved();
        return false;
    }
    event = std::move(queue.front());
    queue.pop_front();
    return true;
}

InputSnapshot takeInputSnapshot() {
    twirlstick_input_poll();
    InputSnapshot snap;
    for (int i = 0; i < GameKeyCount; ++i)
        snap.keys[i] = latches.takeKey(i, keyHeld[i]);
    for (int i = 0; i < MouseButtonCount; ++i)
        snap.buttons[i] = latches.takeButton(i, buttonHeld[i]);
    // CSS pixels to the canvas's own.
    int width = 0, height = 0;
    double cssWidth = 0.0, cssHeight = 0.0;
    emscripten_get_canvas_element_size(web::CanvasSelector, &width, &height);
    emscripten_get_element_css_size(web::CanvasSelector, &cssWidth, &cssHeight);
    const double sx = cssWidth > 0.0 ? double(width) / cssWidth : 1.0;
    const double sy = cssHeight > 0.0 ? double(height) / cssHeight : 1.0;
    snap.cursorX = float(cursorCssX * sx);
    snap.cursorY = float(cursorCssY * sy);
    return snap;
}

void releaseLatchedInput() {
    // A key or button let go while the page had no focus never reports its release.
    latches.releaseAll();
    for (bool& held : keyHeld)
        held = false;
    for (bool& held : buttonHeld)
        held = false;
    primaryTouch = secondTouch = -1;
}

void startTextInput(int, int, int, int) {
    textInputOn = true;
}

void stopTextInput() {
    textInputOn = false;
}

} // namespace platform
