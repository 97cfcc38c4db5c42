#pragma once
// One font face turned into coverage bitmaps: FreeType on the desktop, stb_truetype in the
// browser (which has no FreeType). Both report FreeType's grid-fitted metrics, so a text takes the
// same room whichever draws it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct GlyphMetrics { // FreeType's glyph metrics, 26.6 fixed point
    std::int32_t width = 0, height = 0, horiBearingX = 0, horiBearingY = 0, horiAdvance = 0;
    std::int32_t vertBearingX = 0, vertBearingY = 0, vertAdvance = 0;
};

struct GlyphBitmap {
    int width = 0, rows = 0;
    std::vector<std::uint8_t> coverage; // width x rows, top row first, 0 (empty) to 255 (full)
};

class GlyphRaster {
public:
    // A missing or unreadable font leaves the raster empty (Ready() false): every glyph renders
    // as nothing, and the caller reports it.
    GlyphRaster(const std::string& fontPath, int pixelSize);
    ~GlyphRaster();
    GlyphRaster(const GlyphRaster&) = delete;
    GlyphRaster& operator=(const GlyphRaster&) = delete;

    bool Ready() const;
    // Whether the font has a glyph of its own for `code`; without one, Render draws the font's
    // missing-glyph box (or nothing, when the raster is not Ready).
    bool HasGlyph(std::uint16_t code) const;
    // False, with zero metrics and an empty bitmap, when the font cannot draw `code`.
    bool Render(std::uint16_t code, GlyphMetrics& metrics, GlyphBitmap& bitmap) const;

private:
    struct Face;
    std::unique_ptr<Face> face_;
};
