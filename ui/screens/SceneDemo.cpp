#include "ui/screens/SceneDemo.h"

#include "core/game/GameConstants.h"
#include "core/lang/Translate.h"
#include "ui/platform/Platform.h"
#include "ui/render/BarDraw.h"
#include "ui/render/Draw.h"
#include "ui/render/MenuEntry.h"
#include "ui/scene/SceneMaster.h"
#include "ui/sound/Sound.h"

namespace {
struct DemoLine {
    const char16_t* text;
    Vec2 position;
    float scale;
    Color32 color;
};
const DemoLine Lines[SceneDemo::LineCount] = {
    {N_(u"ゲーム説明"), {-300.0f, 200.0f}, 1.0f, Colors::White},
    {N_(u"マウス左クリック:棒の回転軸が切り替わります"), {-300.0f, 160.0f}, 0.7f, Colors::White},
    {N_(u"マウス右ボタン押しっぱなし:棒の回転速度が速くなります"), {-300.0f, 140.0f}, 0.7f, Colors::White},
    {N_(u"壁(白いライン)にぶつかる、残り時間が切れたら棒が減ります"), {-300.0f, 120.0f}, 0.7f, Colors::White},
    {N_(u"ゴール(赤いライン)にたどり着けば次のステージに進みます"), {-300.0f, 100.0f}, 0.7f, Colors::White},
    {N_(u"左クリックで最初のステージが始まります"), {-300.0f, 40.0f}, 0.7f, Colors::White},
    // The keys, for players without a mouse: they play by place, named as the layout prints them.
    {N_(u"キー: {Z}=左クリック {X}=右ボタン P=一時停止"), {-300.0f, 70.0f}, 0.7f, Colors::White},
};
// Fingers, on a touch screen only: nothing else tells that a second finger is the right button.
const DemoLine TouchLine = {
    N_(u"タッチ: タップ=左クリック 2本目の指を置いたまま=右ボタン"), {-300.0f, 10.0f}, 0.7f, Colors::White};
} // namespace

SceneDemo::SceneDemo(SceneMaster* master)
    : master_(master), context_(master->Context()),
      bar_({0.0f, -160.0f}, BarLength, Colors::White, Colors::Red, Angle(0.0f)) {
    GlyphCache& cache = context_.glyphs;
    for (int i = 0; i < LineCount; ++i)
        labels_[std::size_t(i)] =
            CreateLabel(cache, NameGameKeys(tr(Lines[i].text)), Lines[i].position, Lines[i].scale);
    if (platform::hasTouchScreen())
        touch_ = CreateLabel(cache, tr(TouchLine.text), TouchLine.position, TouchLine.scale);
    hint_ = CreateHintLabel(cache, tr(u"Enter：スタート　BackSpace：タイトルに戻る　Esc：終了"));
}

void SceneDemo::Update() {
    ++counter_;
    const MouseState& mouse = context_.mouse;
    if (context_.keys.Typed(platform::Key::Backspace)) {
        PlaySound(SoundId::enter, false);
        master_->PopScene(); // the title lies under this screen
        return;
    }
    if (mouse.Pressed(MouseLeft) || context_.keys.Typed(platform::Key::Return)) {
        PlaySound(SoundId::enter, false);
        master_->ChangeScene(SceneId::GameMain);
    }
    bar_.step(mouse.Held(MouseRight), false);
}

void SceneDemo::Draw() const {
    ClearScreen(Colors::Black);
    drawBar(bar_);
    for (int i = 0; i < LineCount; ++i) {
        if (i == PromptLine && !PromptShown()) continue;
        labels_[std::size_t(i)]->DrawLabel(Lines[i].color);
    }
    if (touch_) touch_->DrawLabel(TouchLine.color);
    DrawHint(*hint_);
}
