// The desktop's glyphs: FreeType, hinted as the system renders them.
#include "ui/render/GlyphRaster.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>

namespace {
FT_Library library = nullptr;

FT_Library freeTypeLibrary() {
    if (!library && FT_Init_FreeType(&library) == 0) std::atexit([] { FT_Done_FreeType(library); });
    return library;
}

void copyBitmap(const FT_Bitmap& source, GlyphBitmap& bitmap) {
    bitmap.width = int(source.width);
    bitmap.rows = int(source.rows);
    bitmap.coverage.assign(std::size_t(bitmap.width) * std::size_t(bitmap.rows), 0);
    const int pitch = source.pitch, stride = pitch < 0 ? -pitch : pitch;
    for (int r = 0; r < bitmap.rows; ++r) {
        const int row = pitch > 0 ? r : bitmap.rows - 1 - r; // a negative pitch stores the bottom row first
        const std::uint8_t* src = source.buffer + std::ptrdiff_t(r) * stride;
        for (int i = 0; i < bitmap.width; ++i) {
            const std::uint8_t value = source.pixel_mode == FT_PIXEL_MODE_MONO
                                           ? ((src[i / 8] & (0x80 >> (i % 8))) ? 255 : 0)
                                           : src[i];
            bitmap.coverage[std::size_t(row) * std::size_t(bitmap.width) + std::size_t(i)] = value;
        }
    }
}
} // namespace

struct GlyphRaster::Face {
    FT_Face face = nullptr;
};

GlyphRaster::GlyphRaster(const std::string& fontPath, int pixelSize) : face_(std::make_unique<Face>()) {
    FT_Library lib = freeTypeLibrary();
    if (!lib || FT_New_Face(lib, fontPath.c_str(), 0, &face_->face) != 0) {
        face_->face = nullptr;
        return;
    }
    FT_Set_Pixel_Sizes(face_->face, FT_UInt(pixelSize), FT_UInt(pixelSize));
}

GlyphRaster::~GlyphRaster() {
    if (face_->face) FT_Done_Face(face_->face);
}

bool GlyphRaster::Ready() const {
    return face_->face != nullptr;
}

bool GlyphRaster::HasGlyph(std::uint16_t code) const {
    return face_->face && FT_Get_Char_Index(face_->face, code) != 0;
}

bool GlyphRaster::Render(std::uint16_t code, GlyphMetrics& metrics, GlyphBitmap& bitmap) const {
    metrics = {};
    bitmap = {};
    FT_Face face = face_->face;
    if (!face) return false;
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0 ||
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0)
        return false;
    const FT_Glyph_Metrics& m = face->glyph->metrics;
    metrics = {int(m.width),       int(m.height),       int(m.horiBearingX), int(m.horiBearingY),
               int(m.horiAdvance), int(m.vertBearingX), int(m.vertBearingY), int(m.vertAdvance)};
    copyBitmap(face->glyph->bitmap, bitmap);
    return true;
}
