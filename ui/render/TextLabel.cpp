#include "ui/render/TextLabel.h"

#include "core/lang/Translate.h"
#include "ui/render/Draw.h"
#include "ui/render/PartialRedraw.h"

#include <algorithm>
#include <type_traits>

namespace {
// Dark enough that white and yellow text reads over a white wall, light enough that the wall
// is still seen to run on under it.
constexpr Color32 LegibleBacking = makeColor(0, 0, 0, 224);
} // namespace

TextLabel::TextLabel(GlyphCache& cache, Vec2 position, float scale, TextAlign align)
    : position_(position), scale_(scale), align_(align), cache_(&cache) {
    cache_->AddLabel(this);
    Layout();
}

TextLabel::~TextLabel() {
    ReleaseGlyphs();
    cache_->RemoveLabel(this);
}

std::unique_ptr<TextLabel> CreateLabel(GlyphCache& cache, const LabelDesc& desc) {
    auto label = std::make_unique<TextLabel>(cache, Vec2{desc.x, desc.y}, desc.scale, desc.align);
    label->SetText(desc.text ? tr(desc.text) : u"");
    return label;
}

std::unique_ptr<TextLabel> CreateLabel(GlyphCache& cache, std::u16string_view text, Vec2 position,
                                       float scale) {
    auto label = std::make_unique<TextLabel>(cache, position, scale, TextAlign::Left);
    label->SetText(text);
    return label;
}

void TextLabel::SetText(std::u16string_view text) {
    // Acquire before releasing, so glyphs shared by the old and new text are never reclaimed
    // and rendered again in between.
    std::vector<int> glyphs;
    glyphs.reserve(text.size());
    for (char16_t unit : text) {
        if (unit == 0) break;
        glyphs.push_back(cache_->AcquireGlyph(std::uint16_t(unit)));
    }
    ReleaseGlyphs();
    glyphs_ = std::move(glyphs);
    text_.assign(text.substr(0, glyphs_.size()));
    Layout();
}

void TextLabel::ReleaseGlyphs() {
    for (int slot : glyphs_)
        cache_->ReleaseGlyph(slot);
    glyphs_.clear();
    text_.clear();
    Layout();
}

float TextLabel::PenX(std::size_t index) const {
    const auto advance = [&](int slot) {
        return slot == GlyphCache::NoSlot ? 0.0f : float(cache_->Metrics(slot).horiAdvance) / 64.0f * scale_;
    };
    float total = 0.0f, before = 0.0f;
    for (std::size_t i = 0; i < glyphs_.size(); ++i) {
        if (i < index) before += advance(glyphs_[i]);
        total += advance(glyphs_[i]);
    }
    float start = position_.x;
    if (align_ == TextAlign::Center)
        start -= total * 0.5f;
    else if (align_ == TextAlign::Right)
        start -= total;
    return start + before;
}

void TextLabel::Layout() {
    vertices_.clear();
    float px = position_.x;
    const float y = position_.y;
    const auto advance = [&](int slot) {
        return slot == GlyphCache::NoSlot ? 0.0f : float(cache_->Metrics(slot).horiAdvance) / 64.0f * scale_;
    };
    if (align_ == TextAlign::Center || align_ == TextAlign::Right) {
        float total = 0.0f;
        for (int slot : glyphs_)
            total += advance(slot);
        px -= align_ == TextAlign::Center ? total * 0.5f : total;
    }
    float minBottom = y, maxTop = y;
    float firstLeft = 0.0f, lastRight = 0.0f;
    bool any = false;
    for (int slot : glyphs_) {
        if (slot == GlyphCache::NoSlot) continue; // refused: shows nothing, takes no room
        const GlyphMetrics& m = cache_->Metrics(slot);
        const float w = m.width / 64.0f, h = m.height / 64.0f, bx = m.horiBearingX / 64.0f,
                    by = m.horiBearingY / 64.0f;
        const float left = px + bx * scale_, right = px + (bx + w) * scale_;
        const float top = y + by * scale_, bottom = y + (by - h) * scale_;
        const Rect t = cache_->GlyphTexRect(slot);
        vertices_.push_back({t.left, t.bottom, left, bottom});
        vertices_.push_back({t.left, t.top, left, top});
        vertices_.push_back({t.right, t.bottom, right, bottom});
        vertices_.push_back({t.right, t.top, right, top});
        minBottom = std::min(minBottom, bottom);
        maxTop = std::max(maxTop, top);
        if (!any) firstLeft = left;
        lastRight = right;
        any = true;
        px += advance(slot);
    }
    const float m = 2.0f * scale_;
    bounds_ =
        any ? Rect(firstLeft - m, minBottom - m, lastRight + m, maxTop + m) : Rect(px, y - m, px, y + m);
}

namespace {
// One call per 16384 glyphs (one for any real screen): each glyph's four strip vertices become
// two triangles. 16-bit indices, as WebGL and the browser's GL emulation take them.
constexpr std::size_t BatchQuads = 65536 / 4;

template <class Vertex> void drawGlyphQuads(const std::vector<Vertex>& vertices) {
    thread_local std::vector<GLushort> indices;
    const std::size_t quads = vertices.size() / 4;
    if (indices.size() < std::min(quads, BatchQuads) * 6) {
        indices.resize(std::min(quads, BatchQuads) * 6);
        for (std::size_t q = 0; q < indices.size() / 6; ++q) {
            const auto b = GLushort(q * 4);
            const GLushort tri[6] = {
                b, GLushort(b + 1), GLushort(b + 2), GLushort(b + 2), GLushort(b + 1), GLushort(b + 3)};
            std::copy(tri, tri + 6, indices.begin() + std::ptrdiff_t(q * 6));
        }
    }
    for (std::size_t first = 0; first < quads; first += BatchQuads) {
        const Vertex* batch = &vertices[first * 4];
        glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &batch->u);
        glVertexPointer(2, GL_FLOAT, sizeof(Vertex), &batch->x);
        if constexpr (std::is_same_v<Vertex, LabelBatch::Vertex>)
            glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex), &batch->r);
        glDrawElements(GL_TRIANGLES, GLsizei(std::min(quads - first, BatchQuads) * 6), GL_UNSIGNED_SHORT,
                       indices.data());
    }
}

void enableGlyphArrays(const GlyphCache& cache, bool colored) {
    glBindTexture(GL_TEXTURE_2D, cache.Texture());
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    if (colored)
        glEnableClientState(GL_COLOR_ARRAY);
    else
        glDisableClientState(GL_COLOR_ARRAY);
}
} // namespace

void TextLabel::DrawLabel(Color32 color) const {
    if (vertices_.empty()) return;
    SetColor(color);
    enableGlyphArrays(*cache_, false);
    drawGlyphQuads(vertices_);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

void TextLabel::AppendTo(LabelBatch& batch, Color32 color) const {
    if (vertices_.empty()) return;
    batch.cache_ = cache_;
    for (const GlyphVertex& v : vertices_)
        batch.vertices_.push_back(
            {colorRed(color), colorGreen(color), colorBlue(color), colorAlpha(color), v.u, v.v, v.x, v.y});
}

void LabelBatch::Draw() const {
    if (vertices_.empty()) return;
    enableGlyphArrays(*cache_, true);
    drawGlyphQuads(vertices_);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

void LabelBatch::AddTo(Fingerprint& still) const {
    still.Add(vertices_);
    still.Add(cache_ ? std::uint64_t(cache_->renderCount()) : 0);
}

void LegibleLabels::Add(const TextLabel& label, Color32 color) {
    if (label.Text().empty()) return;
    AppendRect(panels_, label.Bounds(), LegibleBacking);
    texts_.Add(label, color);
}

void LegibleLabels::Draw() const {
    DrawColorVertices(panels_, GL_TRIANGLES);
    texts_.Draw();
}

void DrawLegibleLabel(const TextLabel& label, Color32 color) {
    LegibleLabels one;
    one.Add(label, color);
    one.Draw();
}

std::size_t TextLabel::RefusedGlyphs() const {
    return std::size_t(std::count(glyphs_.begin(), glyphs_.end(), GlyphCache::NoSlot));
}
