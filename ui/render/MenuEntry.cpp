#include "render/MenuEntry.h"

#include "render/Draw.h"

namespace {
constexpr Color32 BoxHot = makeColor(255, 255, 0, 255);
constexpr Color32 TextHot = makeColor(0, 0, 0, 255);
constexpr Color32 BoxCold = makeColor(128, 128, 0, 255);
constexpr Color32 TextCold = makeColor(0, 0, 0, 128);
} // namespace

void DrawMenuEntry(const TextLabel& label, bool hot) {
    FillRect(label.Bounds(), hot ? BoxHot : BoxCold);
    label.DrawLabel(hot ? TextHot : TextCold);
}
