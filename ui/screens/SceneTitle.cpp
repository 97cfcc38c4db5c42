#include "ui/screens/SceneTitle.h"

#include "core/base/Utf.h"
#include "core/game/Progress.h"
#include "core/lang/Translate.h"
#include "core/play/GameSession.h"
#include "core/stage/FileLocations.h"
#include "ui/platform/Platform.h"
#include "ui/render/BarDraw.h"
#include "ui/render/Draw.h"
#include "ui/render/MenuEntry.h"
#include "ui/scene/SceneMaster.h"
#include "ui/sound/Sound.h"
#include "ui/system/MessageBox.h"

namespace {
const LabelDesc TitleDescs[2] = {
    {u"twirlstick", 0.0f, 150.0f, 1.2f, TextAlign::Center},
    {u"VOLTA", 80.0f, 120.0f, 0.8f, TextAlign::Center},
};
const LabelDesc MenuDescs[SceneTitle::ItemCount] = {
    {u"S T A R T", 0.0f, -150.0f, 1.5f, TextAlign::Center},
    {u"E D I T", 0.0f, -200.0f, 1.5f, TextAlign::Center},
    // The corner entries stand a little in from the screen's edges: their panels reach past the
    // text, and a longer translation must not run off the screen.
    {N_(u"全て初期化"), 392.0f, -288.0f, 0.5f, TextAlign::Right},
    {u"E X I T", 0.0f, -260.0f, 1.5f, TextAlign::Center},
    {N_(u"設定"), -392.0f, -288.0f, 0.5f, TextAlign::Left},
    // Above START, small, where it moves none of the four.
    {u"S T A G E   S E L E C T", 0.0f, -95.0f, 0.7f, TextAlign::Center},
};
} // namespace

SceneTitle::SceneTitle(SceneMaster* master, GameSession& session)
    : master_(master), context_(master->Context()), session_(session),
      bar_({-60.0f, -30.0f}, 30.0f, Colors::White, Colors::Red, Angle(0.0f)) {
    GlyphCache& cache = context_.glyphs;
    for (int i = 0; i < 2; ++i)
        titles_[std::size_t(i)] = CreateLabel(cache, TitleDescs[i]);
    MakeMenu();
    // A returning player is two presses of Return from the highest stage reached.
    if (highestReached(readProgress({}, StageCount)) > 0) hovered_ = Select;
}

void SceneTitle::MakeMenu() {
    language_ = shownLanguage();
    for (int i = 0; i < ItemCount; ++i)
        menu_[std::size_t(i)] = CreateLabel(context_.glyphs, MenuDescs[i]);
}

void SceneTitle::Update() {
    if (OfferLinkedStage()) return;
    if (language_ != shownLanguage()) MakeMenu(); // chosen on the options screen
    const int n = ++counter_;
    bar_.step((n / 120) % 2 == 1, n % 120 == 0);
    const MouseState& mouse = context_.mouse;
    const KeyState& keys = context_.keys;
    const Vec2 p = screenToWorld(mouse.cursor, DefaultCamera);
    int under = -1;
    for (int i = 0; i < ItemCount; ++i)
        if (menu_[std::size_t(i)]->Bounds().containsStrictly(p)) under = i;
    // The pointer takes the highlight whenever it moves; the arrows step it in screen order.
    if (!(mouse.cursor == mouse.previousCursor)) {
        hovered_ = under;
        keyed_ = false;
    }
    const int place = ScreenPlace(hovered_);
    const int shown = keys.StepHighlight(place, ItemCount, platform::Key::Up, platform::Key::Down);
    if (shown != place) keyed_ = true;
    hovered_ = shown < 0 ? -1 : ScreenOrder[std::size_t(shown)];
    // Z is the left button: it chooses what lies under the pointer, or what the arrows lit, and
    // on empty screen nothing. Return chooses the highlight, START when nothing is lit.
    if (keys.Typed(platform::Key::Return))
        Choose(hovered_ >= 0 ? hovered_ : Start);
    else if (keyed_ && hovered_ >= 0 && keys.TypedPivot())
        Choose(hovered_);
    else if (under >= 0 && mouse.Pressed(MouseLeft))
        Choose(under);
}

// A stage that came in the page's link is already kept as the player's own; whoever opened the
// link most likely wants to play it, so the title asks once before anything else.
bool SceneTitle::OfferLinkedStage() {
    const std::string name = platform::takeLinkedStage();
    if (name.empty()) return false;
    const std::u16string question = tr(u"リンクのステージを今すぐ遊びますか？");
    if (ShowMessageBox(question + u"\n" + toUtf16(name), u"STAGE") != MessageBoxResult::Ok) return false;
    session_.startOwnStage(name);
    master_->PushScene(SceneId::GameMain);
    PlaySound(SoundId::enter, false);
    return true;
}

int SceneTitle::ScreenPlace(int item) {
    for (std::size_t i = 0; i < ScreenOrder.size(); ++i)
        if (ScreenOrder[i] == item) return int(i);
    return -1;
}

void SceneTitle::Open(int scene) {
    master_->PushScene(scene);
    PlaySound(SoundId::enter, false);
}

void SceneTitle::Choose(int item) {
    switch (item) {
    case Start:
        session_.stageNumber = 0;
        session_.barsLeft = StartingBars;
        session_.editMode = false;
        session_.ownStageFile.clear();
        session_.startStage();
        Open(SceneId::Demo);
        break;
    case Select:
        session_.editMode = false;
        session_.ownStageFile.clear();
        Open(SceneId::StageSelect);
        break;
    case Edit:
        session_.editMode = true;
        session_.ownStageFile.clear(); // test play is headed as the test stage, not a stage played before
        Open(SceneId::EditMenu);
        break;
    case ResetAll:
        PlaySound(SoundId::enter, false);
        if (ShowMessageBox(tr(u"編集したステージデータ、リプレイデータを全て削除します\nよろしいですか？"),
                           u"WARNING", MessageBoxStyle::OkCancelDefaultCancel) == MessageBoxResult::Ok)
            deleteWorkingFiles();
        break;
    case Exit: // a page has no program to end, so its EXIT asks first, as the close question does
        if (platform::endsProgram())
            master_->PopScene();
        else
            context_.window.RequestClose();
        break;
    case Options:
        Open(SceneId::Options);
        break;
    default:
        break;
    }
}

void SceneTitle::Draw() const {
    // The texts in one call and the panels in another; and as the title is what an idle player
    // leaves on the screen, only where the bar turns is drawn again while the rest stands still.
    LabelBatch texts;
    for (auto& label : titles_)
        texts.Add(*label, Colors::White);
    std::vector<const TextLabel*> entries;
    for (auto& entry : menu_)
        entries.push_back(entry.get());
    const MenuPicture menu = menuPicture(entries, hovered_, std::move(texts));
    Fingerprint still;
    menu.AddTo(still);
    redraw_.Begin(still.Value(), barBounds(bar_));
    ClearScreen(Colors::Black);
    drawBar(bar_);
    menu.Draw();
    redraw_.End();
}
