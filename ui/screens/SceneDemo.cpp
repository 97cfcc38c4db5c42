#include "screens/SceneDemo.h"

#include "game/GameConstants.h"
#include "lang/Translate.h"
#include "render/BarDraw.h"
#include "render/Draw.h"
#include "scene/SceneMaster.h"
#include "sound/Sound.h"
#include "system/GameSystem.h"

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
};
} // namespace

SceneDemo::SceneDemo(SceneMaster* master)
    : master_(master), bar_({0.0f, -160.0f}, BarLength, Colors::White, Colors::Red, Angle(0.0f)) {
    GlyphCache& cache = *TheGameSystem->glyphCache;
    for (int i = 0; i < LineCount; ++i)
        labels_[std::size_t(i)] = CreateLabel(cache, tr(Lines[i].text), Lines[i].position, Lines[i].scale);
}

void SceneDemo::Update() {
    ++counter_;
    const MouseState& mouse = TheGameSystem->mouseState;
    if (mouse.Pressed(MouseLeft)) {
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
}
