#include "tests/gl/GlTestSupport.h"

#include "ui/render/Draw.h"
#include "ui/render/GlyphCache.h"
#include "ui/render/TextLabel.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
constexpr int Cell = GlyphCache::CellSize, Side = GlyphCache::TextureSize, PerRow = GlyphCache::CellsPerRow;

// The RGBA texels of a slot's cell, read back from the texture.
std::vector<std::array<std::uint8_t, 4>> cellTexels(const GlyphCache& cache, int slot) {
    std::vector<std::array<std::uint8_t, 4>> all(std::size_t(Side) * Side);
    glBindTexture(GL_TEXTURE_2D, cache.Texture());
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, all.data());
    std::vector<std::array<std::uint8_t, 4>> cell;
    const int x0 = Cell * (slot % PerRow), y0 = Cell * (slot / PerRow);
    for (int y = 0; y < Cell; ++y)
        for (int x = 0; x < Cell; ++x)
            cell.push_back(all[std::size_t((y0 + y) * Side + x0 + x)]);
    return cell;
}

int coveredTexels(const std::vector<std::array<std::uint8_t, 4>>& cell) {
    int n = 0;
    for (const auto& t : cell)
        n += t[3] > 0;
    return n;
}
} // namespace

TEST(GlyphCache, SlotsAreHandedOutInOrderAndShared) {
    GlyphCache cache(FontPath);
    EXPECT_EQ(cache.AcquireGlyph(u'A'), 0);
    EXPECT_EQ(cache.AcquireGlyph(u'B'), 1);
    EXPECT_EQ(cache.AcquireGlyph(u'あ'), 2);
    EXPECT_EQ(cache.AcquireGlyph(u'A'), 0);
    EXPECT_EQ(cache.Slot(0).refCount, 2);
    cache.ReleaseGlyph(0);
    cache.ReleaseGlyph(0);
    EXPECT_EQ(cache.Slot(0).refCount, 0);
    EXPECT_EQ(cache.Slot(0).code, u'A'); // still cached
    const int renders = cache.renderCount();
    EXPECT_EQ(cache.AcquireGlyph(u'A'), 0);
    EXPECT_EQ(cache.renderCount(), renders);
}

TEST(GlyphCache, GlyphsAreWhiteWithCoverageInTheirCell) {
    GlyphCache cache(FontPath);
    const int slot = PerRow + 1; // second cell of the second row
    for (int i = 0; i < slot; ++i)
        cache.AcquireGlyph(std::uint16_t(0x4E00 + i));
    EXPECT_EQ(cache.AcquireGlyph(u'W'), slot);
    const Rect t = cache.GlyphTexRect(slot);
    EXPECT_FLOAT_EQ(t.left, float(Cell) / float(Side)); // its cell starts at pixel (32, 32)
    EXPECT_FLOAT_EQ(t.bottom, float(Cell) / float(Side));
    const auto cell = cellTexels(cache, slot);
    EXPECT_GT(coveredTexels(cell), 30);
    for (const auto& texel : cell) {
        if (texel[3] == 0) continue;
        EXPECT_EQ(texel[0], 255);
        EXPECT_EQ(texel[1], 255);
        EXPECT_EQ(texel[2], 255);
    }
    // Upright: the bottom row of 'W' is narrower than its top (the two points of the W).
    int bottomRow = 0, topRow = 0;
    const int h = cache.Metrics(slot).height / 64;
    for (int x = 0; x < Cell; ++x) {
        bottomRow += cell[std::size_t(x)][3] > 128;
        topRow += cell[std::size_t((h - 1) * Cell + x)][3] > 128;
    }
    EXPECT_LT(bottomRow, topRow);
}

TEST(GlyphCache, ASpaceIsTransparentButAdvances) {
    GlyphCache cache(FontPath);
    const int slot = cache.AcquireGlyph(u' ');
    EXPECT_EQ(coveredTexels(cellTexels(cache, slot)), 0);
    EXPECT_GT(cache.Metrics(slot).horiAdvance, 0);
}

TEST(GlyphCache, AFullCacheReclaimsCachedSlotsHighestFirst) {
    GlyphCache cache(FontPath);
    for (int i = 0; i < GlyphCache::SlotCount; ++i)
        ASSERT_EQ(cache.AcquireGlyph(std::uint16_t(0x4E00 + i)), i);
    cache.ReleaseGlyph(10);
    cache.ReleaseGlyph(200);
    EXPECT_EQ(cache.AcquireGlyph(u'Z'), 200);
    EXPECT_EQ(cache.Slot(10).code, 0); // forgotten by the reclaim
    EXPECT_EQ(cache.AcquireGlyph(u'Y'), 10);
    // Every slot referenced: a new code unit is refused, nothing is overwritten.
    EXPECT_EQ(cache.AcquireGlyph(u'X'), GlyphCache::NoSlot);
    EXPECT_EQ(cache.Slot(200).code, u'Z');
}

TEST(GlyphCache, ALongTitleLeavesRoomForEveryTextOfTheGame) {
    GlyphCache cache(FontPath);
    for (int i = 0; i < 255; ++i) // the longest title the input box takes, all distinct
        ASSERT_NE(cache.AcquireGlyph(std::uint16_t(0x4E00 + i)), GlyphCache::NoSlot);
    // Everything the screens may show beside it: ASCII, kana, punctuation and a few hundred kanji.
    std::u16string texts;
    for (char16_t c = 0x20; c < 0x7F; ++c)
        texts += c;
    for (char16_t c = 0x3041; c <= 0x30FA; ++c)
        texts += c;
    texts += u"！？：…、。「」";
    for (char16_t c = 0x6000; c < 0x6000 + 300; ++c)
        texts += c;
    for (char16_t c : texts)
        EXPECT_NE(cache.AcquireGlyph(c), GlyphCache::NoSlot) << int(c);
}

// The browser's page opens with part of the font; here, with none at all. What the first font
// lacked is drawn again from the whole one once it is there, and the labels take the new widths.
TEST(GlyphCache, AFullerFontRedrawsWhatTheFirstLackedAndLabelsFollow) {
    GlyphCache cache("no-such-font.ttf");
    const auto label = CreateLabel(cache, u"鬱A", Vec2{0.0f, 0.0f}, 1.0f);
    const int slot = cache.AcquireGlyph(u'鬱');
    EXPECT_TRUE(cache.Slot(slot).boxed);
    EXPECT_EQ(coveredTexels(cellTexels(cache, slot)), 0);
    EXPECT_FALSE(cache.UseFont(".")); // not a font: the old one stays
    ASSERT_TRUE(cache.UseFont(FontPath));
    EXPECT_FALSE(cache.Slot(slot).boxed);
    EXPECT_GT(coveredTexels(cellTexels(cache, slot)), 20);
    const auto fresh = CreateLabel(cache, u"鬱A", Vec2{0.0f, 0.0f}, 1.0f);
    EXPECT_GT(label->Bounds().right, 20.0f);
    EXPECT_FLOAT_EQ(label->Bounds().right, fresh->Bounds().right); // laid out again
    EXPECT_FLOAT_EQ(label->Bounds().top, fresh->Bounds().top);
}

TEST(TextLabel, AlignmentPlacesThePen) {
    GlyphCache& cache = *TheGameSystem->glyphCache;
    TextLabel centred(cache, {100, 0}, 1.0f, TextAlign::Center);
    centred.SetText(u"WWWW");
    const float advance = cache.Metrics(cache.AcquireGlyph(u'W')).horiAdvance / 64.0f;
    EXPECT_FLOAT_EQ(centred.PenX(0), 100 - 2 * advance);
    TextLabel right(cache, {400, -288}, 0.5f, TextAlign::Right);
    right.SetText(u"全て初期化");
    EXPECT_FLOAT_EQ(right.PenX(5), 400);
}

// Hit tests run in the update before any draw: the bounds follow every change at once.
TEST(TextLabel, BoundsFollowEachChangeWithoutADraw) {
    GlyphCache& cache = *TheGameSystem->glyphCache;
    TextLabel empty(cache, {10, 20}, 1.5f, TextAlign::Left);
    EXPECT_EQ(empty.Bounds().left, 10);
    EXPECT_EQ(empty.Bounds().right, 10);
    EXPECT_EQ(empty.Bounds().bottom, 17);
    EXPECT_EQ(empty.Bounds().top, 23);

    auto label = CreateLabel(cache, {u"S T A R T", 0, -150, 1.5f, TextAlign::Center});
    const Rect first = label->Bounds();
    EXPECT_LT(first.left, -50);
    EXPECT_GT(first.right, 50);
    EXPECT_NEAR(first.centerX, 0, 3);
    label->SetText(u"S");
    EXPECT_GT(label->Bounds().left, first.left);
    const Rect one = label->Bounds();
    label->SetPosition({100, -150});
    EXPECT_FLOAT_EQ(label->Bounds().left, one.left + 100);
}

TEST(TextLabel, LabelsShareSlotsAndOutliveEachOther) {
    GlyphCache& cache = *TheGameSystem->glyphCache;
    glDisable(GL_TEXTURE_2D);
    TheGameSystem->cameraStack.ResetView();
    ClearScreen(Colors::Black);
    auto a = CreateLabel(cache, u"■", {-100, 0}, 2.0f);
    auto b = CreateLabel(cache, u"■", {50, 0}, 2.0f);
    const int slot = cache.AcquireGlyph(u'■');
    EXPECT_EQ(cache.Slot(slot).refCount, 3);
    cache.ReleaseGlyph(slot);
    a.reset();
    EXPECT_EQ(cache.Slot(slot).refCount, 1);
    b->DrawLabel(Colors::Yellow);
    const Rect r = b->Bounds();
    EXPECT_TRUE(looksLike(pixelAt({r.centerX, r.centerY}), Colors::Yellow, 10));
}
