#include "ui/render/GlyphCache.h"

#include "ui/render/TextLabel.h"

#include <algorithm>
#include <cstdio>

namespace {
using Texel = std::array<std::uint8_t, 4>;

constexpr int CellSize = GlyphCache::CellSize;
using Cell = std::array<Texel, CellSize * CellSize>;

// Copies a rendered bitmap into a cell, bottom bitmap row in cell row 0 so the glyph stands
// upright with texture coordinates growing upwards. Larger bitmaps are clipped.
void blitGlyph(const GlyphBitmap& bitmap, Cell& cell) {
    for (int r = 0; r < bitmap.rows; ++r) {
        const int cellRow = bitmap.rows - 1 - r;
        if (cellRow >= CellSize) continue;
        const std::uint8_t* src = bitmap.coverage.data() + std::ptrdiff_t(r) * bitmap.width;
        for (int i = 0; i < bitmap.width && i < CellSize; ++i)
            cell[cellRow * CellSize + i] = {255, 255, 255, src[i]};
    }
}
#ifdef __EMSCRIPTEN__
constexpr GLint EdgeWrap = GL_CLAMP_TO_EDGE; // WebGL has no GL_CLAMP, and says so on the console
#else
constexpr GLint EdgeWrap = GL_CLAMP;
#endif
} // namespace

GlyphCache::GlyphCache(const std::string& fontPath)
    : raster_(std::make_unique<GlyphRaster>(fontPath, CellSize)) {
    if (!raster_->Ready())
        std::fprintf(stderr, "twirlstick: cannot open the font %s; texts stay empty\n", fontPath.c_str());
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glEnable(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, EdgeWrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, EdgeWrap);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    const std::vector<Texel> zeros(std::size_t(TextureSize) * TextureSize, Texel{});
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, TextureSize, TextureSize, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 zeros.data());
    glDisable(GL_TEXTURE_2D);
    // Slot 0 is handed out first, then 1, 2, ...
    for (int n = SlotCount - 1; n >= 0; --n)
        freeSlots_.push_back(n);
}

GlyphCache::~GlyphCache() = default;

void GlyphCache::RemoveLabel(TextLabel* label) {
    const auto it = std::find(labels_.begin(), labels_.end(), label);
    if (it == labels_.end()) return;
    *it = labels_.back();
    labels_.pop_back();
}

bool GlyphCache::UseFont(const std::string& fontPath) {
    auto raster = std::make_unique<GlyphRaster>(fontPath, CellSize);
    if (!raster->Ready()) {
        std::fprintf(stderr, "twirlstick: cannot open the font %s; keeping the one in use\n",
                     fontPath.c_str());
        return false;
    }
    raster_ = std::move(raster);
    for (int n = 0; n < SlotCount; ++n)
        if (slots_[n].code != 0 && slots_[n].boxed) RenderGlyph(n, slots_[n].code);
    for (TextLabel* label : labels_)
        label->Layout();
    return true;
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
    GlyphBitmap bitmap;
    GlyphMetrics& m = slots_[slot].metrics;
    slots_[slot].boxed = !raster_->HasGlyph(code);
    if (raster_->Render(code, m, bitmap)) {
        // The cell clips larger bitmaps; the quad must not reach into the neighbouring cells.
        const int maxExtent = CellSize * FixedPointOne;
        m.width = std::min(m.width, maxExtent);
        m.height = std::min(m.height, maxExtent);
        blitGlyph(bitmap, cell);
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
