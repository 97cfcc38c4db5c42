#pragma once
// A menu item as the title and the edit menu draw it: its text on a panel the size of its
// bounds, yellow under the cursor, olive otherwise.
#include "ui/render/Draw.h"
#include "ui/render/TextLabel.h"

#include <initializer_list>
#include <vector>

void DrawMenuEntry(const TextLabel& label, bool hot);

// Several entries, the one at `hot` lit (none when out of range): their panels for one call, and
// their texts, with `extra` labels of the same screen, for another.
struct MenuPicture {
    ColorVertexList panels;
    LabelBatch texts;
    void Draw() const;
    void AddTo(class Fingerprint& still) const;
};
MenuPicture menuPicture(const std::vector<const TextLabel*>& entries, int hot, LabelBatch extra = {});

// A row of several labels on one panel, `box`, coloured as an entry.
void DrawMenuRow(const Rect& box, std::initializer_list<const TextLabel*> labels, bool hot);
// A left-aligned label cut to end before `rightEdge`, with "…" where it was cut. Only the part
// that can show takes glyph cells, however long the text.
std::unique_ptr<TextLabel> CreateFittedLabel(GlyphCache& cache, std::u16string_view text, Vec2 position,
                                             float scale, float rightEdge);

// The line at the foot of a screen that says which keys work there and how to go back: small,
// light grey on black (well above 4.5:1), cut with "…" rather than run off the screen.
std::unique_ptr<TextLabel> CreateHintLabel(GlyphCache& cache, std::u16string_view text);
void DrawHint(const TextLabel& hint);
