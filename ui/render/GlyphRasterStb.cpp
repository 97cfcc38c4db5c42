// The browser's glyphs: stb_truetype, which has no hinter. Its metrics are rounded the way
// FreeType rounds hinted ones (the box out to whole pixels, the advance to the nearest), so
// texts are laid out as on the desktop.
#include "core/base/FileAccess.h"
#include "ui/platform/web/WebPage.h"
#include "ui/render/GlyphRaster.h"

#include <cmath>

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>

namespace {
// IPA P Gothic is 6 MB; a file many times that is not the font.
constexpr std::size_t MaxFontBytes = 64u << 20;
constexpr std::int32_t Fixed = 64; // 26.6
} // namespace

struct GlyphRaster::Face {
    std::string data;
    stbtt_fontinfo info{};
    float scale = 0.0f;
    bool ready = false;
};

GlyphRaster::GlyphRaster(const std::string& fontPath, int pixelSize) : face_(std::make_unique<Face>()) {
    std::error_code error;
    auto data = readRegularFile(fontPath, {.maxBytes = MaxFontBytes}, error);
    if (!data) return;
    face_->data = std::move(*data);
    const auto* bytes = reinterpret_cast<const unsigned char*>(face_->data.data());
    const int offset = stbtt_GetFontOffsetForIndex(bytes, 0);
    if (offset < 0 || !stbtt_InitFont(&face_->info, bytes, offset)) return;
    face_->scale = stbtt_ScaleForMappingEmToPixels(&face_->info, float(pixelSize));
    face_->ready = true;
}

GlyphRaster::~GlyphRaster() = default;

bool GlyphRaster::Ready() const {
    return face_->ready;
}

bool GlyphRaster::HasGlyph(std::uint16_t code) const {
    return face_->ready && stbtt_FindGlyphIndex(&face_->info, code) != 0;
}

bool GlyphRaster::Render(std::uint16_t code, GlyphMetrics& metrics, GlyphBitmap& bitmap) const {
    metrics = {};
    bitmap = {};
    if (!face_->ready) return false;
    const stbtt_fontinfo& info = face_->info;
    const float scale = face_->scale;
    // Glyph 0 is the font's "missing" box, which FreeType draws too. The page opens with a subset
    // of the font: a character it lacks (a player's own title) asks for the whole font at once.
    const int glyph = stbtt_FindGlyphIndex(&info, code);
    if (glyph == 0) twirlstick_want_full_font();
    int advance = 0, bearing = 0;
    stbtt_GetGlyphHMetrics(&info, glyph, &advance, &bearing);
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0; // pixels, y down
    stbtt_GetGlyphBitmapBox(&info, glyph, scale, scale, &x0, &y0, &x1, &y1);
    metrics.horiAdvance = std::int32_t(std::lround(float(advance) * scale)) * Fixed;
    if (x1 <= x0 || y1 <= y0) return true; // a space: nothing to draw, but it advances
    bitmap.width = x1 - x0;
    bitmap.rows = y1 - y0;
    bitmap.coverage.assign(std::size_t(bitmap.width) * std::size_t(bitmap.rows), 0);
    stbtt_MakeGlyphBitmap(&info, bitmap.coverage.data(), bitmap.width, bitmap.rows, bitmap.width, scale,
                          scale, glyph);
    metrics.width = bitmap.width * Fixed;
    metrics.height = bitmap.rows * Fixed;
    metrics.horiBearingX = x0 * Fixed;
    metrics.horiBearingY = -y0 * Fixed;
    return true;
}
