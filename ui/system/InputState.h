#pragma once
// The keyboard and mouse as the scenes see them: polled once per idle turn, each record keeping
// the previous turn beside the current one so that presses and releases read as edges.
#include "core/game/MouseState.h"
#include "core/stage/Geometry.h"
#include "core/stage/View.h"
#include "ui/platform/Platform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Indices into the key table, in polling order.
enum KeyIndex { KeyZ, KeyX, KeyC, KeyV, KeyA, KeyS, KeyD, KeyF, KeyDown, KeyLeft, KeyRight, KeyUp, KeyCount };

// A key that went down with Ctrl held (repeats not counted): a shortcut, never a game key.
struct KeyChord {
    platform::Key key;
    bool shift;
};

// A key that went down with neither Ctrl nor Alt held, auto-repeats included: menus step on
// these, so a held arrow keeps stepping at the system's repeat rate.
struct KeyPress {
    platform::Key key;
    bool shift;
    bool repeat;
    bool pivot = false; // the key in Z's place (platform::Event::pivot)
};

// Where a list's highlight goes on `press` of Up, Down, PageUp, PageDown (a `page` of entries),
// Home or End, kept within 0..last; nothing for any other key.
std::optional<int> StepInList(const KeyPress& press, int entry, int page, int last);

struct KeyState {
    bool current[KeyCount] = {};
    bool previous[KeyCount] = {};
    std::vector<KeyChord> chords;  // this turn's, in the order they were typed
    std::vector<KeyPress> presses; // this turn's, in the order they were typed

    // Whether `key` went down this turn; `repeats` counts the held key's auto-repeats too.
    bool Typed(platform::Key key, bool repeats = false) const;
    // The key in Z's place (or a gamepad's A) went down this turn, repeats not counted.
    bool TypedPivot() const;
    // The highlight `current` (-1: none) over `count` entries, moved by this turn's presses of
    // `back` and `forward` (repeats included), wrapping round; from none, a step lands on an end.
    int StepHighlight(int current, int count, platform::Key back, platform::Key forward) const;

    void UpdateKeys(const platform::InputSnapshot& snap);
    bool Pressed(int k) const { return current[k] && !previous[k]; }
    bool Held(int k) const { return current[k]; }
};

// `text` with each "{Z}", "{X}" and "{C}" replaced by what the layout prints on the key in that
// place, the key that plays as it: on a German layout "{Z}" reads "Y".
std::u16string NameGameKeys(std::u16string text);

// Buttons read the mouse, or else their stand-in keys Z, X, C. The wheel takes whole notches
// out of the accumulator.
void UpdateMouse(MouseState& mouse, const platform::InputSnapshot& snap, const ViewMapping& view,
                 std::int32_t& wheelAccumulator);
