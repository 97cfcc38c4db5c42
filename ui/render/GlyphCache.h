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
#include <string>
#include <vector>

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

private:
    void ReclaimSlots();
    void RenderGlyph(int slot, std::uint16_t code);

    GlyphRaster raster_;
    GLuint texture_ = 0;
    std::array<GlyphSlot, SlotCount> slots_{};
    std::vector<int> freeSlots_;
    int renders_ = 0;
};
