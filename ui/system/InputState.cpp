#include "ui/system/InputState.h"

#include "core/base/Utf.h"

#include <algorithm>

void KeyState::UpdateKeys(const platform::InputSnapshot& snap) {
    for (int i = 0; i < KeyCount; ++i) {
        previous[i] = current[i];
        current[i] = snap.keys[i];
    }
}

bool KeyState::Typed(platform::Key key, bool repeats) const {
    for (const KeyPress& press : presses)
        if (press.key == key && (repeats || !press.repeat)) return true;
    return false;
}

bool KeyState::TypedPivot() const {
    for (const KeyPress& press : presses)
        if (press.pivot && !press.repeat) return true;
    return false;
}

std::u16string NameGameKeys(std::u16string text) {
    for (const char letter : {'Z', 'X', 'C'}) {
        const std::u16string mark = {u'{', char16_t(letter), u'}'};
        const std::u16string name = toUtf16(platform::keyNameAtPlace(letter));
        for (std::size_t at = text.find(mark); at != std::u16string::npos;
             at = text.find(mark, at + name.size()))
            text.replace(at, mark.size(), name);
    }
    return text;
}

std::optional<int> StepInList(const KeyPress& press, int entry, int page, int last) {
    using platform::Key;
    switch (press.key) {
    case Key::Up:
        return std::clamp(entry - 1, 0, last);
    case Key::Down:
        return std::clamp(entry + 1, 0, last);
    case Key::PageUp:
        return std::clamp(entry - page, 0, last);
    case Key::PageDown:
        return std::clamp(entry + page, 0, last);
    case Key::Home:
        return 0;
    case Key::End:
        return last;
    default:
        return std::nullopt;
    }
}

int KeyState::StepHighlight(int current, int count, platform::Key back, platform::Key forward) const {
    for (const KeyPress& press : presses) {
        if (count <= 0 || (press.key != back && press.key != forward)) continue;
        const int step = press.key == forward ? 1 : -1;
        current = current < 0 ? (step > 0 ? 0 : count - 1) : (current + step + count) % count;
    }
    return current;
}

void UpdateMouse(MouseState& mouse, const platform::InputSnapshot& snap, const ViewMapping& view,
                 std::int32_t& wheelAccumulator) {
    mouse.previousCursor = mouse.cursor;
    mouse.cursor = CursorToView(snap.cursorX, snap.cursorY, view);
    static constexpr int StandInKeys[MouseButtonCount] = {KeyZ, KeyX, KeyC};
    for (int i = 0; i < MouseButtonCount; ++i) {
        mouse.previousDown[i] = mouse.down[i];
        mouse.down[i] = snap.buttons[i] || snap.keys[StandInKeys[i]];
        if (mouse.Pressed(i)) mouse.pressPosition[i] = mouse.cursor;
    }
    mouse.previousWheel = mouse.wheel;
    mouse.wheel = TakeWheelNotches(wheelAccumulator);
}
