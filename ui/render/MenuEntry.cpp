#include "render/MenuEntry.h"

#include "render/ButtonPalette.h"
#include "render/Draw.h"

void DrawMenuEntry(const TextLabel& label, bool hot) {
    DrawMenuRow(label.Bounds(), {&label}, hot);
}

void DrawMenuRow(const Rect& box, std::initializer_list<const TextLabel*> labels, bool hot) {
    FillRect(box, hot ? LitButton : UnlitButton);
    for (const TextLabel* label : labels)
        label->DrawLabel(hot ? ButtonText : UnlitEntryText);
}
