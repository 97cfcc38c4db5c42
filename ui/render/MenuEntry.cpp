#include "render/MenuEntry.h"

#include "render/ButtonPalette.h"
#include "render/Draw.h"

void DrawMenuEntry(const TextLabel& label, bool hot) {
    FillRect(label.Bounds(), hot ? LitButton : UnlitButton);
    label.DrawLabel(hot ? ButtonText : UnlitEntryText);
}
