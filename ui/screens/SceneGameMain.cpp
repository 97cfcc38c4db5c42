#include "ui/screens/SceneGameMain.h"

#include "core/game/BestRun.h"
#include "core/game/HeadsUpBand.h"
#include "core/game/PlayTexts.h"
#include "core/game/RunCheck.h"
#include "core/game/ShippedTitles.h"
#include "core/lang/Translate.h"
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"
#include "core/stage/View.h"
#include "ui/render/BarDraw.h"
#include "ui/render/Draw.h"
#include "ui/render/MenuEntry.h"
#include "ui/render/StageMesh.h"
#include "ui/scene/SceneMaster.h"
#include "ui/sound/Sound.h"
#include "ui/system/MessageBox.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr Color32 WayTextColor = makeColor(96, 224, 255, 255); // as the guide's bar

const char16_t* const Messages[PlayMessageCount] = {
    N_(u"左クリックでスタートします"),
    u"3",
    u"2",
    u"1",
    N_(u"スタート！"),
    N_(u"ぶつかっちゃいましたね..."),
    N_(u"時間切れです"),
    N_(u"ゴール！！"),
    N_(u"全ステージクリア！！！"),
    N_(u"ゲームオーバー"),
    u"",
};

const LabelDesc LabelDescs[SceneGameMain::LabelCount] = {
    // Title, time, bars and best stand in the band the stages keep clear at their start.
    {u"", HeadsUpBand.left, 215.0f, 0.8f, TextAlign::Left},
    {u"", HeadsUpBand.left, 185.0f, 0.8f, TextAlign::Left},
    {u"", HeadsUpBand.right, 185.0f, 0.8f, TextAlign::Right},
    {u"", HeadsUpBand.left, 145.0f, 0.8f, TextAlign::Left},
    {u"", 0.0f, 60.0f, 1.0f, TextAlign::Center},
    // In from the edge: its panel reaches past the text, and the screen must not cut it.
    {N_(u"リプレイ中…左クリックで次に進みます"), 392.0f, 240.0f, 0.6f, TextAlign::Right},
    {N_(u"右クリック：次の挑戦でお手本を見る"), 392.0f, 212.0f, 0.6f, TextAlign::Right},
};
} // namespace

SceneGameMain::SceneGameMain(SceneMaster* master, GameSession& session, const std::string& stagePath,
                             const std::optional<std::string>& replayPath)
    : master_(master), context_(master->Context()), session_(session), stagePath_(stagePath),
      pauseMenu_(context_, session.editMode) {
    Stage stage;
    loadStage(stagePath, stage);
    // The player's own stages (and the editor's test stage) live in the working folder.
    shownTitle_ = isInWorkingFolder(stagePath) ? stage.title : shippedStageTitle(stage.title);
    std::unique_ptr<InputRecord> best = replayPath ? LoadBestRun(*replayPath, stage) : nullptr;
    std::unique_ptr<InputRecord> way = PlaySession::wayRouteWanted(session_) ? LoadWay(stage) : nullptr;
    play_ = std::make_unique<PlaySession>(std::move(stage), session_, std::move(best), std::move(way),
                                          [this](const InputRecord& record) { return KeepBestRun(record); });
    GlyphCache& cache = context_.glyphs;
    for (int i = 0; i < LabelCount; ++i)
        labels_[std::size_t(i)] = CreateLabel(cache, LabelDescs[i]);
    // A title too long for the band ends in "…" at its edge, and takes glyph cells for what shows.
    const LabelDesc& title = LabelDescs[TitleLabel];
    const std::u16string& stageTitle = play_->stage().title;
    // A test play is headed as one, with the stage's own title: it has no number yet.
    const std::u16string heading = session_.editMode ? tr(u"テストプレイ：") + stageTitle
                                   : session_.ownStageFile.empty()
                                       ? FormatStageTitle(session_.stageNumber, shownTitle_)
                                       : FormatOwnStageTitle(session_.ownStageFile, stageTitle);
    labels_[TitleLabel] =
        CreateFittedLabel(cache, heading, {title.x, title.y}, title.scale, HeadsUpBand.right);
    if (session_.editMode)
        testHint_ = CreateHintLabel(
            cache, NameGameKeys(tr(u"中ボタン・{C}・BackSpace：エディタに戻る　P：一時停止")));
    const std::u16string pauseText = tr(u"ポーズ中（Pで再開）");
    pauseLabel_ = CreateLabel(cache, {pauseText.c_str(), 0.0f, -120.0f, 0.8f, TextAlign::Center});
    // The world best is asked for at once, so the pause menu can offer to race it.
    if (online::RecordsClient* records = context_.online.Records(); records && !session_.editMode) {
        stageId_ = OnlineLink::StageIdOf(stagePath);
        if (!stageId_.empty() && !records->Best(stageId_)) records->LookUp(stageId_);
    }
    RefreshTexts();
}

void SceneGameMain::LoadWorldRun() {
    online::RecordsClient* records = context_.online.Records();
    if (!session_.raceWorld || play_->worldShown() || play_->state() != GameState::WaitStart || !records)
        return;
    const online::WorldBest* best = stageId_.empty() ? nullptr : records->Best(stageId_);
    if (!best || best->runId == 0) return; // not heard of yet, or nobody has a run there
    const std::string* run = records->Run(best->runId);
    if (!run) {
        if (worldStep_ == 0) records->FetchRun(best->runId);
        worldStep_ = 1;
        return;
    }
    if (worldStep_ == 2) return; // came, and was no clear of this stage
    worldStep_ = 2;
    if (!checkRun(play_->stage(), *run).cleared) return;
    auto record = std::make_unique<InputRecord>();
    record->parse(*run);
    play_->raceWorld(std::move(record));
}

bool SceneGameMain::RaceOffered() const {
    const online::RecordsClient* records = context_.online.Records();
    const online::WorldBest* best = records && !stageId_.empty() ? records->Best(stageId_) : nullptr;
    return !session_.raceWorld && best && best->runId != 0;
}

std::unique_ptr<InputRecord> SceneGameMain::LoadBestRun(const std::string& path, const Stage& stage) const {
    std::string problem;
    std::unique_ptr<InputRecord> best = loadBestRun(path, stage, problem);
    if (!problem.empty())
        std::fprintf(stderr, "twirlstick: %s: %s; the stage is played without a best run\n", path.c_str(),
                     problem.c_str());
    return best;
}

std::unique_ptr<InputRecord> SceneGameMain::LoadWay(const Stage& stage) const {
    const std::string path = solutionFileName(session_.stageNumber);
    std::string problem;
    std::unique_ptr<InputRecord> route = loadProvenRoute(path, stage, problem);
    if (!problem.empty())
        std::fprintf(stderr, "twirlstick: %s: %s; no guide for this stage\n", path.c_str(), problem.c_str());
    return route;
}

bool SceneGameMain::KeepBestRun(const InputRecord& record) {
    const Stage& stage = play_->stage();
    const std::string path =
        session_.ownStageFile.empty() ? replayFileName(session_.stageNumber) : ownReplayFileName(stage);
    std::error_code error;
    std::string kept;
    const bool saved = saveBestRun(path, stage, record, error, &kept);
    if (!kept.empty())
        std::fprintf(stderr, "twirlstick: %s: the run there was kept as %s\n", path.c_str(), kept.c_str());
    if (saved) {
        context_.online.SubmitBestRun(stagePath_, path);
        return true;
    }
    std::fprintf(stderr, "twirlstick: cannot write %s: %s\n", path.c_str(), error.message().c_str());
    ShowMessageBox(tr(u"記録を保存できませんでした\nこのクリアは記録に残りません"), u"WARNING",
                   MessageBoxStyle::Ok);
    return false;
}

void SceneGameMain::RefreshTexts() {
    const PlaySession& play = *play_;
    const std::u16string time =
        play.cleared() ? tr(u"クリア時間:") + FormatSeconds(play.record().total()) + tr(u"秒")
                       : tr(u"残り時間:") + FormatSeconds(std::max(play.remaining(), 0)) + tr(u"秒");
    if (labels_[TimeLabel]->Text() != time) labels_[TimeLabel]->SetText(time);
    if (session_.barsLeft != shownBars_) {
        shownBars_ = session_.barsLeft;
        labels_[BarsLabel]->SetText(tr(u"残り棒：") +
                                    std::u16string(std::size_t(std::clamp(shownBars_, 0, 30)), u'/'));
    }
    if (play.message() != shownMessage_) {
        shownMessage_ = play.message();
        labels_[MessageLabel]->SetText(tr(Messages[shownMessage_]));
    }
    if (play.best() != shownBest_) {
        shownBest_ = play.best();
        // In a test play the ghost is the route the editor's check found, not a best run.
        const std::u16string best = session_.editMode ? tr(u"見つけたルート:") : std::u16string(u"BEST:");
        labels_[BestLabel]->SetText(shownBest_ > 0 ? best + FormatSeconds(shownBest_) + tr(u"秒")
                                                   : best + u"----");
    }
}

SceneGameMain::~SceneGameMain() {
    if (play_->paused()) PauseAllSounds(false, PauseReason::Play); // left while paused
    if (soundHeld_) PauseAllSounds(false, PauseReason::Focus);
}

void SceneGameMain::Update() {
    const MouseState& mouse = context_.mouse;
    const KeyState& keys = context_.keys;
    if (soundHeld_) PauseAllSounds(soundHeld_ = false, PauseReason::Focus);
    const bool wasPaused = play_->paused();
    PlayInput input;
    input.leftPressed = mouse.Pressed(MouseLeft);
    input.rightHeld = mouse.Held(MouseRight);
    input.rightPressed = mouse.Pressed(MouseRight);
    input.pauseKey = keys.Typed(platform::Key::P);
    input.pauseRequested = context_.pauseRequested;
    input.leaveTest = mouse.Pressed(MouseMiddle) || keys.Typed(platform::Key::Backspace);
    LoadWorldRun();
    play_->update(input);
    if (play_->menuTurn()) RunPauseMenu();
    Carry(wasPaused);
    RefreshTexts();
}

void SceneGameMain::StandStill() {
    const bool wasPaused = play_->paused();
    play_->standStill(context_.pauseRequested);
    Carry(wasPaused);
    // Play stands still without the focus, and its sound with it; the next update lets it go.
    if (!soundHeld_) PauseAllSounds(soundHeld_ = true, PauseReason::Focus);
}

void SceneGameMain::RunPauseMenu() {
    switch (pauseMenu_.Update()) {
    case PauseMenu::Resume:
        play_->resume();
        break;
    case PauseMenu::Retry:
        if (session_.barsLeft <= 0 &&
            ShowMessageBox(tr(u"残りの棒がありません\nやり直すとゲームオーバーになります\nよろしいですか？"),
                           u"WARNING", MessageBoxStyle::OkCancelDefaultCancel) != MessageBoxResult::Ok)
            break; // still paused, the attempt as it was
        play_->retry();
        break;
    case PauseMenu::ShowWay:
        play_->showWayNext();
        break;
    case PauseMenu::RaceWorld: // likewise: the next attempts race the world best's ghost
        session_.raceWorld = true;
        play_->resume();
        break;
    case PauseMenu::Leave:
        play_->leave();
        break;
    default:
        break;
    }
}

void SceneGameMain::Carry(bool wasPaused) {
    const PlayEvents& events = play_->events();
    if (play_->paused() != wasPaused) {
        PauseAllSounds(play_->paused(), PauseReason::Play);
        if (play_->paused()) pauseMenu_.Open(play_->wayOffered(), session_.barsLeft <= 0, RaceOffered());
    }
    switch (events.music) {
    case MusicCue::Normal:
        playMusic(SoundId::bgm);
        break;
    case MusicCue::Fast:
        playMusic(SoundId::bgm_fast);
        break;
    case MusicCue::Stop:
        stopMusic();
        break;
    case MusicCue::Keep:
        break;
    }
    for (SoundId effect : events.effects)
        playEffect(effect);
    switch (events.exit) {
    case PlayExit::NextAttempt:
        master_->ChangeScene(SceneId::GameMain);
        break;
    case PlayExit::EndRun: // an own stage's run goes back to the list it was chosen from
        if (!session_.ownStageFile.empty() && !session_.editMode) {
            master_->ChangeScene(SceneId::StageSelect);
            break;
        }
        [[fallthrough]];
    case PlayExit::Back:
        master_->PopScene();
        break;
    case PlayExit::Stay:
        break;
    }
}

Color32 SceneGameMain::BestLabelColor() const {
    const PlaySession& play = *play_;
    if (play.newRecord()) {
        const bool shown = play.state() != GameState::Result || (play.timer() / 15) % 2 == 1;
        return shown ? Colors::Yellow : makeColor(255, 255, 0, 0);
    }
    return play.behindBest() ? Colors::Red : Colors::White;
}

void SceneGameMain::Draw() const {
    const PlaySession& play = *play_;
    const GameState state = play.state();
    const int timer = play.timer();
    ClearScreen(Colors::Black);
    context_.cameras.PushCamera(play.camera());
    drawBar(play.playerBar());
    if (play.ghostShown()) drawBar(play.ghostBar());
    if (play.wayShown()) drawBar(play.wayBar());
    if (play.worldShown()) drawBar(play.worldBar());
    stageMesh_.Draw(play.stage(), false);
    context_.cameras.PopCamera();

    // The texts come after the world, each on a dark panel, so no line of a stage runs through them.
    LegibleLabels headsUp;
    for (int i : {TitleLabel, TimeLabel, BarsLabel, MessageLabel})
        headsUp.Add(*labels_[std::size_t(i)], Colors::White);
    if ((state == GameState::Replay || state == GameState::ReplayPause) && (timer / 60) % 2 == 1)
        headsUp.Add(*labels_[NoticeLabel], Colors::Yellow);
    if (play.wayOffered() && state != GameState::Playing) headsUp.Add(*labels_[WayNoticeLabel], WayTextColor);
    if (const Color32 best = BestLabelColor(); colorAlpha(best) != 0) headsUp.Add(*labels_[BestLabel], best);
    if (testHint_) headsUp.Add(*testHint_, Colors::White);
    headsUp.Draw();
    if (play.paused()) {
        FillRect(ViewRect, makeColor(0, 0, 0, 160));
        pauseLabel_->DrawLabel(Colors::White);
        pauseMenu_.Draw();
    }

    const float t = float(timer) / 60.0f;
    const auto fadeIn = [&] { return std::uint8_t(std::min((t - 1.0f) * 255.0f * 0.5f, 255.0f)); };
    if (state == GameState::GameOver && timer > 60) {
        FillRect(ViewRect, makeColor(0, 0, 0, fadeIn()));
    } else if (state == GameState::AllClear && timer > 60) {
        if (timer < 180) {
            FillRect(ViewRect, makeColor(255, 255, 255, fadeIn()));
        } else {
            const auto v = std::uint8_t(std::max((8.0f - t) * 255.0f / 5.0f, 0.0f));
            FillRect(ViewRect, makeColor(v, v, v, 255));
        }
    }
}
