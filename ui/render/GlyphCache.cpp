#include "render/GlyphCache.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {
FT_Library library = nullptr;

FT_Library freeTypeLibrary() {
    if (!library && FT_Init_FreeType(&library) == 0) std::atexit([] { FT_Done_FreeType(library); });
    return library;
}

using Texel = std::array<std::uint8_t, 4>;

constexpr int CellSize = GlyphCache::CellSize;
using Cell = std::array<Texel, CellSize * CellSize>;

// Copies a rendered bitmap into a cell, bottom bitmap row in cell row 0 so the glyph stands
// upright with texture coordinates growing upwards. Larger bitmaps are clipped.
void blitGlyph(const FT_Bitmap& bitmap, Cell& cell) {
    const int rows = int(bitmap.rows), width = int(bitmap.width), pitch = bitmap.pitch;
    const int stride = pitch < 0 ? -pitch : pitch;
    for (int r = 0; r < rows; ++r) {
        const int cellRow = pitch > 0 ? rows - 1 - r : r;
        if (cellRow < 0 || cellRow >= CellSize) continue;
        const std::uint8_t* src = bitmap.buffer + std::ptrdiff_t(r) * stride;
        for (int i = 0; i < width && i < CellSize; ++i) {
            std::uint8_t coverage;
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                coverage = (src[i / 8] & (0x80 >> (i % 8))) ? 255 : 0;
            else
                coverage = src[i];
            cell[cellRow * CellSize + i] = {255, 255, 255, coverage};
        }
    }
}
} // namespace

struct GlyphCache::FontFace {
    FT_Face face = nullptr;
};

GlyphCache::GlyphCache(const std::string& fontPath) : face_(new FontFace) {
    if (FT_Library lib = freeTypeLibrary();
        !lib || FT_New_Face(lib, fontPath.c_str(), 0, &face_->face) != 0) {
        std::fprintf(stderr, "twirlstick: cannot open the font %s; texts stay empty\n", fontPath.c_str());
        face_->face = nullptr;
    } else {
        FT_Set_Pixel_Sizes(face_->face, CellSize, CellSize);
    }
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glEnable(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    const std::vector<Texel> zeros(std::size_t(TextureSize) * TextureSize, Texel{});
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, TextureSize, TextureSize, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 zeros.data());
    glDisable(GL_TEXTURE_2D);
    // Slot 0 is handed out first, then 1, 2, ...
    for (int n = SlotCount - 1; n >= 0; --n)
        freeSlots_.push_back(n);
}

GlyphCache::~GlyphCache() {
    if (face_->face) FT_Done_Face(face_->face);
    delete face_;
}

int GlyphCache::AcquireGlyph(std::uint16_t code) {
    for (int n = 0; n < SlotCount; ++n) {
        if (slots_[n].code == code && code != 0) {
            ++slots_[n].refCount;
            return n;
        }
    }
    if (freeSlots_.empty()) ReclaimSlots();
    if (freeSlots_.empty()) return NoSlot; // every cell is in use by live labels
    const int n = freeSlots_.back();
    freeSlots_.pop_back();
    RenderGlyph(n, code);
    ++slots_[n].refCount;
    slots_[n].code = code;
    return n;
}

void GlyphCache::ReleaseGlyph(int slot) {
    if (slot >= 0 && slot < SlotCount && slots_[slot].refCount > 0) --slots_[slot].refCount;
}

void GlyphCache::ReclaimSlots() {
    for (int n = 0; n < SlotCount; ++n) {
        if (slots_[n].refCount == 0) {
            slots_[n].code = 0;
            freeSlots_.push_back(n);
        }
    }
}

void GlyphCache::RenderGlyph(int slot, std::uint16_t code) {
    ++renders_;
    Cell cell{};
    slots_[slot].metrics = {};
    if (face_->face) {
        FT_Face face = face_->face;
        const FT_UInt index = FT_Get_Char_Index(face, code);
        if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) == 0 &&
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0) {
            const FT_Glyph_Metrics& m = face->glyph->metrics;
            // The cell clips larger bitmaps; the quad must not reach into the neighbouring cells.
            const int maxExtent = CellSize * FixedPointOne;
            slots_[slot].metrics = {std::min(int(m.width), maxExtent),
                                    std::min(int(m.height), maxExtent),
                                    int(m.horiBearingX),
                                    int(m.horiBearingY),
                                    int(m.horiAdvance),
                                    int(m.vertBearingX),
                                    int(m.vertBearingY),
                                    int(m.vertAdvance)};
            blitGlyph(face->glyph->bitmap, cell);
        }
    }
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexSubImage2D(GL_TEXTURE_2D, 0, CellSize * (slot % CellsPerRow), CellSize * (slot / CellsPerRow),
                    CellSize, CellSize, GL_RGBA, GL_UNSIGNED_BYTE, cell.data());
}

Rect GlyphCache::GlyphTexRect(int slot) const {
    const float c = float(slot % CellsPerRow), w = float(slot / CellsPerRow);
    const float cell = float(CellSize), texture = float(TextureSize), one = float(FixedPointOne);
    const GlyphMetrics& m = slots_[slot].metrics;
    return Rect(
        Vec2{cell * c / texture, cell * w / texture},
        Vec2{(cell * c + float(m.width) / one) / texture, (cell * w + float(m.height) / one) / texture});
}
