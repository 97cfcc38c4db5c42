#pragma once
// The seam between the game and the operating system. Only platform/*.cpp include SDL; the
// rest of the program sees these small, plain functions.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// --- start and end -------------------------------------------------------------------------
// Video and events. False, after one line on stderr, when no display can be opened, including
// when SDL would fall back to a driver that shows nothing (offscreen, dummy).
bool initSystems();
void shutdownSystems();

// False in a page: there is no program to end there, so the game starts over at its opening.
bool endsProgram();
// Whether closing the program now would lose the player's work: a page then has the browser ask
// before it is closed or left (the desktop asks its own quit question).
void holdUnsavedWork(bool holds);
// Whether the player may play with fingers: a page on a touch screen, where a tap is a left
// click and a second finger held the right button (the desktop leaves touch to its mouse).
bool hasTouchScreen();
// Whether the page came from a records server, whose records it may read unasked; false on the
// desktop and for a page from any other host.
bool recordsAtOrigin();

// --- the window and its OpenGL context -----------------------------------------------------
// Created hidden, centred and resizable (down to a quarter of its size a side), with a legacy
// (compatibility) double-buffered RGBA context.
bool createWindow(const char* title, int clientWidth, int clientHeight);
void destroyWindow(); // deletes the context first
bool hasWindow();
void showWindow();
void swapWindow();
std::uint64_t swapCount(); // swaps since the start: what a frame left in the back buffer dates from
bool setSwapInterval(int interval);
void drawableSize(int& width, int& height); // pixels (HiDPI aware)
// Full screen covers the desktop, or the middle of it without a border where the desktop is
// larger than the window's size limit.
void setDesktopFullscreen(bool on, int windowedWidth, int windowedHeight);
// The most drawable pixels a side the window may have. A larger size, asked for by anyone (the
// window manager, another program, full screen), is brought back to it when it is reported.
void setWindowSizeLimit(int pixels);
void setWindowClassName(const char* name); // X11 class; before initSystems, which reads it
// The window's icon from size x size RGBA pixels (straight alpha, rows from the top).
void setWindowIcon(const std::uint8_t* rgba, int size);
// False where nothing shows a window icon (a page, whose favicon stands for it): drawing one
// there would only put the first frame off.
bool showsWindowIcon();

// --- events --------------------------------------------------------------------------------
enum class EventKind {
    None,
    CloseRequest, // close box, window manager close (Alt+F4)
    Terminate,    // SIGTERM / SIGINT (logout, shutdown, Ctrl+C): end without asking
    KeyDown,
    MouseButtonDown,
    Wheel,
    FocusGained,
    FocusLost,
    Resized,
    TextInput,      // committed text (UTF-8)
    TextEditing,    // IME composition (UTF-8) with its cursor
    DropFile,       // a file or folder dropped on the window: its path in `text`
    GamepadRemoved, // unplugged: play pauses as on focus loss
    FileArrived,    // a data file asked for by fetchLater (or the full font) is there: its path in `text`
};

enum class Key {
    Other,
    Escape,
    Return,
    Backspace,
    Delete,
    Left,
    Right,
    Up,
    Down,
    Home,
    End,
    PageUp,
    PageDown,
    Tab,
    Space,
    A,
    C,
    G,
    P,
    V,
    Z,
    Y,
    S,
    F,
    F5,
    F11,
};

// Letter keys are named by the letter the keyboard layout puts on them (a shortcut's Ctrl+Z
// undoes on any layout); every other key by its place. The game keys Z X C stay where they are
// on a US keyboard whatever they say: they are polled by place, and `pivot` marks the key in
// Z's place (and a gamepad's A), the left button's stand-in, in the events.
struct Event {
    EventKind kind = EventKind::None;
    Key key = Key::Other;
    bool pivot = false;
    bool gamepad = false; // from a gamepad's button, not the keyboard
    bool repeat = false;
    bool alt = false;
    bool ctrl = false;
    bool shift = false;
    int button = -1;     // 0 left, 1 right, 2 middle
    float wheelY = 0.0f; // precise notches, positive away from the user
    std::string text;    // TextInput / TextEditing / DropFile
    int editCursor = 0;  // TextEditing: cursor within `text`, in code points
};

// Next pending event; false when none is pending.
bool pollEvent(Event& event);

// --- polled input --------------------------------------------------------------------------
inline constexpr int GameKeyCount = 12; // Z X C V A S D F Down Left Right Up
inline constexpr int MouseButtonCount = 3;

struct InputSnapshot {
    bool keys[GameKeyCount] = {};
    bool buttons[MouseButtonCount] = {};
    float cursorX = 0.0f; // drawable pixels from the client's top-left corner
    float cursorY = 0.0f;
};

// Current key and button state, OR any press seen in events since the last snapshot, so a
// press and release between two turns still reads as down once. A game key that went down
// with Ctrl held is a shortcut, not a game key: it reads as up until it is released.
InputSnapshot takeInputSnapshot();
void releaseLatchedInput(); // on focus loss

// --- time ----------------------------------------------------------------------------------
std::uint64_t nowUs(); // monotonic microseconds
// Sleeps until `earlyUs` microseconds before microsecond `us` of the nowUs clock. The deadline
// is absolute, so a late wake-up is not added to the next frame's wait.
void sleepUntilUs(std::uint64_t us, std::uint32_t earlyUs);

// --- text and clipboard --------------------------------------------------------------------
void startTextInput(int x, int y, int width, int height); // rectangle in window coordinates
void stopTextInput();
std::string clipboardText();
// What the keyboard layout prints on the key that sits where a US keyboard has `usLetter`
// ('A' to 'Z'): "Y" for Z's place on a German layout. The letter itself where no layout is known.
std::string keyNameAtPlace(char usLetter);
// keyNameAtPlace for each of `usLetters`, for text printed before any window (--help): the layout
// is asked of the display without opening a window. Empty when no display answers.
std::vector<std::string> layoutKeyNames(std::string_view usLetters);
// Puts a link to the page the game runs in, carrying `stageFile` (a stage file's bytes), on the
// clipboard. False where the game runs in no page (the desktop): there a stage travels as a file.
bool copyStageLink(const std::string& stageFile);
// The name of the own stage that the page's link brought in at start, given once; "" when none
// came (always on the desktop).
std::string takeLinkedStage();

// A system message box with no owner window; usable before any window exists.
void showSimpleMessageBox(const std::string& caption, const std::string& text);

// --- fonts and late data ---------------------------------------------------------------------
// The file of an installed font of that family, or "" when the system has none.
std::string findFontFile(const char* family);
// Asks for a data file (a path in the game folder) that is not there yet. True where it will
// come later, announced by a FileArrived event: the browser's page downloads the sounds and the
// full font after its first frame (its first download has only a subset of the font, and a
// FileArrived event with the font's path replaces it). False where every file is there from the
// start, so a missing one is missing for good (the desktop).
bool fetchLater(const char* path);

// --- audio ---------------------------------------------------------------------------------
// Called on the audio thread to fill `frames` mono 16-bit samples.
using AudioCallback = void (*)(void* user, std::int16_t* out, int frames);
bool openAudio(int sampleRate, AudioCallback callback, void* user);
void lockAudio();
void unlockAudio();
void closeAudio();

} // namespace platform
