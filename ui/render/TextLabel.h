#pragma once
// One line of UTF-16 text drawn as textured quads from the shared glyph texture, with a
// bounding rectangle that screens use for hit tests and panels.
#include "core/base/Color.h"
#include "core/stage/Geometry.h"
#include "ui/render/Draw.h"
#include "ui/render/GlyphCache.h"

#include <memory>
#include <string>
#include <vector>

enum class TextAlign : std::int32_t { Left = 0, Center = 1, Right = 2 };

struct LabelDesc {
    const char16_t* text; // a message id (words marked with N_), shown through tr()
    float x, y;           // y is the baseline
    float scale;
    TextAlign align;
};

class TextLabel {
public:
    TextLabel(GlyphCache& cache, Vec2 position, float scale, TextAlign align);
    ~TextLabel();
    TextLabel(const TextLabel&) = delete;
    TextLabel& operator=(const TextLabel&) = delete;

    // Each change lays the text out at once, so its bounds are known before any draw.
    void SetText(std::u16string_view text);
    void ReleaseGlyphs();
    void DrawLabel(Color32 color) const;
    // Adds the label's glyph quads, in `color`, to a batch that draws many labels at once.
    void AppendTo(class LabelBatch& batch, Color32 color) const;
    const Rect& Bounds() const { return bounds_; }

    // Where the pen stands before code unit `index` (after the last one for index >= length).
    float PenX(std::size_t index) const;

    const std::u16string& Text() const { return text_; }
    // Code units the full glyph cache had no cell for: they draw as blanks.
    std::size_t RefusedGlyphs() const;
    void SetPosition(Vec2 p) {
        position_ = p;
        Layout();
    }

private:
    friend class GlyphCache; // lays every label out again when the font changes
    void Layout();

    struct GlyphVertex {
        float u, v, x, y;
    };

    Vec2 position_;
    float scale_;
    TextAlign align_;
    GlyphCache* cache_;
    std::u16string text_;
    std::vector<int> glyphs_; // one slot per code unit; NoSlot for a refused one
    std::vector<GlyphVertex> vertices_;
    Rect bounds_;
};

// Labels of one glyph cache drawn in a single call: a software renderer spends more on each call
// than on the few hundred pixels of a label, so a screen's texts cost one call instead of one each.
class LabelBatch {
public:
    struct Vertex {
        std::uint8_t r, g, b, a;
        float u, v, x, y;
    };
    void Add(const TextLabel& label, Color32 color) { label.AppendTo(*this, color); }
    void Draw() const;
    // What the batch draws: its quads and the glyphs its texture held when they were added.
    void AddTo(class Fingerprint& still) const;

private:
    friend class TextLabel;
    const GlyphCache* cache_ = nullptr;
    std::vector<Vertex> vertices_;
};

std::unique_ptr<TextLabel> CreateLabel(GlyphCache& cache, const LabelDesc& desc);

// Labels each on a dark translucent panel the size of its bounds, so they read over any picture;
// what lies under a panel still shows, dimmed. All the panels go in one call and all the texts in
// another, so a heads-up display costs two calls however many labels it shows.
class LegibleLabels {
public:
    void Add(const TextLabel& label, Color32 color);
    void Draw() const;

private:
    ColorVertexList panels_;
    LabelBatch texts_;
};

// One label on its panel.
void DrawLegibleLabel(const TextLabel& label, Color32 color);
std::unique_ptr<TextLabel> CreateLabel(GlyphCache& cache, std::u16string_view text, Vec2 position,
                                       float scale);
