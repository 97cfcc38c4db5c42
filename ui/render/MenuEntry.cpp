#include "ui/render/MenuEntry.h"

#include "core/base/Utf.h"
#include "core/stage/View.h"
#include "ui/render/ButtonPalette.h"
#include "ui/render/Draw.h"
#include "ui/render/PartialRedraw.h"

namespace {
constexpr std::u16string_view Ellipsis = u"…";
constexpr float EllipsisRoom = 32.0f; // one glyph cell at scale 1
// Before a text is measured it is cut to what could fit if every unit were as narrow as the
// font's narrowest (at scale 1), so a long title takes glyph cells for its visible part only.
constexpr float NarrowestUnit = 6.0f, NarrowestWideUnit = 12.0f;

std::u16string_view fittingHead(std::u16string_view text, float width) {
    float used = 0.0f;
    std::size_t n = 0;
    for (; n < text.size(); ++n) {
        used += text[n] >= 0x2E80 ? NarrowestWideUnit : NarrowestUnit;
        if (used > width) break;
    }
    if (n > 0 && n < text.size() && isHighSurrogate(text[n - 1])) --n;
    return text.substr(0, n);
}
} // namespace

void DrawMenuEntry(const TextLabel& label, bool hot) {
    DrawMenuRow(label.Bounds(), {&label}, hot);
}

MenuPicture menuPicture(const std::vector<const TextLabel*>& entries, int hot, LabelBatch extra) {
    MenuPicture picture{{}, std::move(extra)};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const bool lit = int(i) == hot;
        AppendRect(picture.panels, entries[i]->Bounds(), lit ? LitButton : UnlitButton);
        picture.texts.Add(*entries[i], lit ? ButtonText : UnlitEntryText);
    }
    return picture;
}

void MenuPicture::Draw() const {
    static_assert(colorAlpha(LitButton) == 255 && colorAlpha(UnlitButton) == 255, "panels drawn unblended");
    DrawOpaqueColorVertices(panels, GL_TRIANGLES);
    texts.Draw();
}

void MenuPicture::AddTo(Fingerprint& still) const {
    still.Add(panels);
    texts.AddTo(still);
}

void DrawMenuRow(const Rect& box, std::initializer_list<const TextLabel*> labels, bool hot) {
    FillRect(box, hot ? LitButton : UnlitButton);
    for (const TextLabel* label : labels)
        label->DrawLabel(hot ? ButtonText : UnlitEntryText);
}

std::unique_ptr<TextLabel> CreateFittedLabel(GlyphCache& cache, std::u16string_view text, Vec2 position,
                                             float scale, float rightEdge) {
    auto label = CreateLabel(cache, fittingHead(text, (rightEdge - position.x) / scale), position, scale);
    if (label->Bounds().right > rightEdge) {
        std::size_t n = label->Text().size();
        while (n > 0 && label->PenX(n) > rightEdge - EllipsisRoom * scale)
            --n;
        if (n > 0 && isHighSurrogate(label->Text()[n - 1])) --n;
        label->SetText(label->Text().substr(0, n) + std::u16string(Ellipsis));
    }
    return label;
}

namespace {
constexpr float HintY = -290.0f, HintScale = 0.45f;
constexpr Color32 HintColor = makeColor(190, 190, 190, 255);
} // namespace

std::unique_ptr<TextLabel> CreateHintLabel(GlyphCache& cache, std::u16string_view text) {
    auto hint = std::make_unique<TextLabel>(cache, Vec2{0.0f, HintY}, HintScale, TextAlign::Center);
    hint->SetText(text);
    if (hint->Bounds().right - hint->Bounds().left >
        float(ViewWidth) - 20.0f) // a long translation: cut at the screen's edge
        hint = CreateFittedLabel(cache, text, {-float(ViewWidth) / 2.0f + 10.0f, HintY}, HintScale,
                                 float(ViewWidth) / 2.0f - 10.0f);
    return hint;
}

void DrawHint(const TextLabel& hint) {
    hint.DrawLabel(HintColor);
}
