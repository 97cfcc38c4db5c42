#include "ui/screens/PauseMenu.h"

#include "core/lang/Translate.h"
#include "ui/render/MenuEntry.h"

namespace {
constexpr float TopItemY = -162.0f;   // under the pause notice, clear of the screen's centre
constexpr float ItemSpacing = 36.0f;  // four items stay clear of the screen's bottom edge
constexpr float TightSpacing = 30.0f; // and five, closer together
constexpr float ItemScale = 0.8f;
} // namespace

PauseMenu::PauseMenu(const FrameContext& context, bool testPlay) : context_(context) {
    const char16_t* const texts[ItemCount] = {N_(u"再開する"), N_(u"ステージをやり直す（棒を1本使う）"),
                                              testPlay ? N_(u"エディタに戻る") : N_(u"タイトルに戻る"),
                                              N_(u"次の挑戦でお手本を見る"),
                                              N_(u"次の挑戦から世界記録と競う")};
    for (int i = 0; i < ItemCount; ++i)
        items_[std::size_t(i)] =
            CreateLabel(context_.glyphs, {texts[i], 0.0f, TopItemY, ItemScale, TextAlign::Center});
    Open();
}

void PauseMenu::Open(bool wayOffered, bool lastBar, bool raceOffered) {
    // A retry costs a bar as a miss does: the item says so, and what it means on the last one.
    const std::u16string retry = lastBar ? tr(u"ステージをやり直す（棒が残っていないのでゲームオーバー）")
                                         : tr(u"ステージをやり直す（棒を1本使う）");
    if (items_[Retry]->Text() != retry) items_[Retry]->SetText(retry);
    lit_ = 0;
    keyed_ = false;
    shown_ = {Resume, Retry, Leave};
    if (wayOffered) shown_.push_back(ShowWay);
    if (raceOffered) shown_.push_back(RaceWorld);
    const float spacing = shown_.size() > 4 ? TightSpacing : ItemSpacing;
    for (std::size_t k = 0; k < shown_.size(); ++k)
        items_[std::size_t(shown_[k])]->SetPosition({0.0f, TopItemY - spacing * float(k)});
}

int PauseMenu::Update() {
    const MouseState& mouse = context_.mouse;
    const KeyState& keys = context_.keys;
    int under = NoChoice; // a place in shown_
    for (int k = 0; k < Shown(); ++k)
        if (items_[std::size_t(shown_[std::size_t(k)])]->Bounds().containsStrictly(mouse.cursor)) under = k;
    if (under != NoChoice && !(mouse.cursor == mouse.previousCursor)) {
        lit_ = under;
        keyed_ = false;
    }
    const int stepped = keys.StepHighlight(lit_, Shown(), platform::Key::Up, platform::Key::Down);
    if (stepped != lit_) {
        lit_ = stepped;
        keyed_ = true;
    }
    if (keys.Typed(platform::Key::Return) || (keyed_ && keys.TypedPivot())) return Lit();
    // Z is also the left button's stand-in: unarmed, it chooses nothing, not even under the pointer.
    if (!keys.TypedPivot() && under != NoChoice && mouse.Pressed(MouseLeft))
        return shown_[std::size_t(under)];
    return NoChoice;
}

void PauseMenu::Draw() const {
    for (int k = 0; k < Shown(); ++k)
        DrawMenuEntry(*items_[std::size_t(shown_[std::size_t(k)])], k == lit_);
}
