#pragma once
// One font face rendered at 32 pixels into a square texture of 32 x 32 cells (1024 cells in a
// 1024 x 1024 texture), one UTF-16 code unit per cell, shared by reference count among all labels.
// A title of 255 distinct characters (the most the input box takes) and every text of the game's
// own screens fit at the same time, so a long title never takes a menu's or a message's glyphs.
#include "core/stage/Geometry.h"
#include "ui/render/GlyphRaster.h"

#include <GL/glew.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TextLabel;

// The side, in cells, of the smallest square power-of-two grid that holds `cells` cells.
constexpr int glyphGridSide(int cells) {
    int side = 1;
    while (side * side < cells)
        side *= 2;
    return side;
}

struct GlyphSlot {
    std::uint16_t code = 0; // 0: holds nothing
    std::int32_t refCount = 0;
    GlyphMetrics metrics;
    bool boxed = false; // the font had no glyph for the code: the cell shows its missing-glyph box
};

class GlyphCache {
public:
    static constexpr int SlotCount = 1024; // cells; the texture grows to hold them
    static constexpr int CellSize = 32;    // pixels a side, and the pixel size the font is rendered at
    static constexpr int CellsPerRow = glyphGridSide(SlotCount);
    static constexpr int TextureSize = CellsPerRow * CellSize; // pixels a side
    static constexpr int FixedPointOne = 64;                   // FreeType's 26.6 metrics
    static constexpr int NoSlot = -1;

    // Opens the font (a missing or bad font leaves every glyph empty but keeps the game running).
    explicit GlyphCache(const std::string& fontPath);
    ~GlyphCache();
    GlyphCache(const GlyphCache&) = delete;
    GlyphCache& operator=(const GlyphCache&) = delete;

    // The slot holding `code`, with one more reference; NoSlot when every cell is referenced.
    int AcquireGlyph(std::uint16_t code);
    void ReleaseGlyph(int slot);
    Rect GlyphTexRect(int slot) const;
    const GlyphMetrics& Metrics(int slot) const { return slots_[slot].metrics; }
    const GlyphSlot& Slot(int slot) const { return slots_[slot]; }
    GLuint Texture() const { return texture_; }
    int renderCount() const { return renders_; } // glyphs rendered so far (cache misses)

    // Draws with a fuller font from now on (the browser's whole font after the subset its page
    // opened with): every cached glyph that showed the missing-glyph box is drawn again from it
    // in the same cell, and every label lays its text out again, as the new glyphs' widths may
    // differ. Glyphs the old font had stay as they are. False, keeping the old font, when the
    // file is not a font.
    bool UseFont(const std::string& fontPath);

    // Live labels, laid out again when the font changes (TextLabel registers itself).
    void AddLabel(TextLabel* label) { labels_.push_back(label); }
    void RemoveLabel(TextLabel* label);

private:
    void ReclaimSlots();
    void RenderGlyph(int slot, std::uint16_t code);

    std::unique_ptr<GlyphRaster> raster_;
    std::vector<TextLabel*> labels_;
    GLuint texture_ = 0;
    std::array<GlyphSlot, SlotCount> slots_{};
    std::vector<int> freeSlots_;
    int renders_ = 0;
};
