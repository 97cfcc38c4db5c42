#include "ui/screens/PauseMenu.h"

#include "core/lang/Translate.h"
#include "ui/render/MenuEntry.h"

namespace {
constexpr float TopItemY = -162.0f;  // under the pause notice, clear of the screen's centre
constexpr float ItemSpacing = 36.0f; // four items stay clear of the screen's bottom edge
constexpr float ItemScale = 0.8f;
} // namespace

PauseMenu::PauseMenu(const FrameContext& context, bool testPlay) : context_(context) {
    const char16_t* const texts[ItemCount] = {N_(u"再開する"), N_(u"ステージをやり直す（棒を1本使う）"),
                                              testPlay ? N_(u"エディタに戻る") : N_(u"タイトルに戻る"),
                                              N_(u"次の挑戦でお手本を見る")};
    for (int i = 0; i < ItemCount; ++i)
        items_[std::size_t(i)] =
            CreateLabel(context_.glyphs,
                        {texts[i], 0.0f, TopItemY - ItemSpacing * float(i), ItemScale, TextAlign::Center});
}

void PauseMenu::Open(bool wayOffered, bool lastBar) {
    // A retry costs a bar as a miss does: the item says so, and what it means on the last one.
    const std::u16string retry = lastBar ? tr(u"ステージをやり直す（棒が残っていないのでゲームオーバー）")
                                         : tr(u"ステージをやり直す（棒を1本使う）");
    if (items_[Retry]->Text() != retry) items_[Retry]->SetText(retry);
    lit_ = Resume;
    keyed_ = false;
    wayOffered_ = wayOffered;
}

int PauseMenu::Update() {
    const MouseState& mouse = context_.mouse;
    const KeyState& keys = context_.keys;
    int under = NoChoice;
    for (int i = 0; i < Shown(); ++i)
        if (items_[std::size_t(i)]->Bounds().containsStrictly(mouse.cursor)) under = i;
    if (under != NoChoice && !(mouse.cursor == mouse.previousCursor)) {
        lit_ = under;
        keyed_ = false;
    }
    const int stepped = keys.StepHighlight(lit_, Shown(), platform::Key::Up, platform::Key::Down);
    if (stepped != lit_) {
        lit_ = stepped;
        keyed_ = true;
    }
    if (keys.Typed(platform::Key::Return) || (keyed_ && keys.TypedPivot())) return lit_;
    // Z is also the left button's stand-in: unarmed, it chooses nothing, not even under the pointer.
    if (!keys.TypedPivot() && under != NoChoice && mouse.Pressed(MouseLeft)) return under;
    return NoChoice;
}

void PauseMenu::Draw() const {
    for (int i = 0; i < Shown(); ++i)
        DrawMenuEntry(*items_[std::size_t(i)], i == lit_);
}
