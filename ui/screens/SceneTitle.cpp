#include "screens/SceneTitle.h"

#include "lang/Translate.h"
#include "render/BarDraw.h"
#include "render/Draw.h"
#include "render/MenuEntry.h"
#include "scene/GameSession.h"
#include "scene/SceneMaster.h"
#include "sound/Sound.h"
#include "stage/FileLocations.h"
#include "system/GameSystem.h"
#include "system/MessageBox.h"

namespace {
const LabelDesc TitleDescs[2] = {
    {u"twirlstick", 0.0f, 150.0f, 1.2f, TextAlign::Center},
    {u"VOLTA", 80.0f, 120.0f, 0.8f, TextAlign::Center},
};
const LabelDesc MenuDescs[SceneTitle::ItemCount] = {
    {u"S T A R T", 0.0f, -150.0f, 1.5f, TextAlign::Center},
    {u"E D I T", 0.0f, -200.0f, 1.5f, TextAlign::Center},
    {N_(u"全て初期化"), 400.0f, -288.0f, 0.5f, TextAlign::Right},
    {u"E X I T", 0.0f, -260.0f, 1.5f, TextAlign::Center},
};
} // namespace

SceneTitle::SceneTitle(SceneMaster* master, GameSession& session)
    : master_(master), session_(session),
      bar_({-60.0f, -30.0f}, 30.0f, Colors::White, Colors::Red, Angle(0.0f)) {
    GlyphCache& cache = *TheGameSystem->glyphCache;
    for (int i = 0; i < 2; ++i)
        titles_[std::size_t(i)] = CreateLabel(cache, TitleDescs[i]);
    for (int i = 0; i < ItemCount; ++i)
        menu_[std::size_t(i)] = CreateLabel(cache, MenuDescs[i]);
}

void SceneTitle::Update() {
    const int n = ++counter_;
    bar_.step((n / 120) % 2 == 1, n % 120 == 0);
    const MouseState& mouse = TheGameSystem->mouseState;
    const KeyState& keys = TheGameSystem->keyState;
    const Vec2 p = screenToWorld(mouse.cursor, DefaultCamera);
    int under = -1;
    for (int i = 0; i < ItemCount; ++i)
        if (menu_[std::size_t(i)]->Bounds().containsStrictly(p)) under = i;
    // The pointer takes the highlight whenever it moves; the arrows step it in screen order.
    if (!(mouse.cursor == mouse.previousCursor)) hovered_ = under;
    const int shown =
        keys.StepHighlight(ScreenPlace(hovered_), ItemCount, platform::Key::Up, platform::Key::Down);
    hovered_ = shown < 0 ? -1 : ScreenOrder[std::size_t(shown)];
    // Z is also the left button's stand-in: it chooses the highlight, not what lies under the pointer.
    if (keys.TypedChoose()) {
        if (hovered_ >= 0) Choose(hovered_);
    } else if (under >= 0 && mouse.Pressed(MouseLeft)) {
        Choose(under);
    }
}

int SceneTitle::ScreenPlace(int item) {
    for (std::size_t i = 0; i < ScreenOrder.size(); ++i)
        if (ScreenOrder[i] == item) return int(i);
    return -1;
}

void SceneTitle::Choose(int item) {
    switch (item) {
    case Start:
        session_.stageNumber = 0;
        session_.barsLeft = StartingBars;
        session_.editMode = false;
        master_->PushScene(SceneId::Demo);
        PlaySound(SoundId::enter, false);
        break;
    case Edit:
        session_.editMode = true;
        master_->PushScene(SceneId::EditMenu);
        PlaySound(SoundId::enter, false);
        break;
    case ResetAll:
        PlaySound(SoundId::enter, false);
        if (ShowMessageBox(tr(u"編集したステージデータ、リプレイデータを全て削除します\nよろしいですか？"),
                           u"WARNING", MessageBoxStyle::OkCancelDefaultCancel) == MessageBoxResult::Ok)
            deleteWorkingFiles();
        break;
    case Exit:
        master_->PopScene();
        break;
    default:
        break;
    }
}

void SceneTitle::Draw() const {
    ClearScreen(Colors::Black);
    drawBar(bar_);
    for (auto& label : titles_)
        label->DrawLabel(Colors::White);
    for (int i = 0; i < ItemCount; ++i)
        DrawMenuEntry(*menu_[std::size_t(i)], i == hovered_);
}
