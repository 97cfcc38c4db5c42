#include "ui/screens/SceneGameMain.h"

#include "core/game/BestRun.h"
#include "core/game/GameConstants.h"
#include "core/game/HeadsUpBand.h"
#include "core/game/PlayTexts.h"
#include "core/game/ShippedTitles.h"
#include "core/lang/Translate.h"
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"
#include "core/stage/View.h"
#include "ui/render/BarDraw.h"
#include "ui/render/Draw.h"
#include "ui/render/MenuEntry.h"
#include "ui/render/StageMesh.h"
#include "ui/scene/GameSession.h"
#include "ui/scene/SceneMaster.h"
#include "ui/sound/Sound.h"
#include "ui/system/GameSystem.h"
#include "ui/system/MessageBox.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr Color32 GhostColor = makeColor(255, 255, 128, 96);
constexpr Color32 WayColor = makeColor(96, 224, 255, 128); // the guide: apart from the best run's yellow
constexpr Color32 WayTextColor = makeColor(96, 224, 255, 255);
constexpr float CameraGlide = 0.03f;
constexpr int HurryFrames = 600;
constexpr int FastMusicFrames = 540;

const char16_t* const Messages[SceneGameMain::MessageCount] = {
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
    : master_(master), session_(session), ghostBar_({}, BarLength, GhostColor, GhostColor, Angle(0.0f)),
      attempt_(stage_, Colors::White, Colors::Red), wayBar_({}, BarLength, WayColor, WayColor, Angle(0.0f)),
      pauseMenu_(session.editMode) {
    loadStage(stagePath, stage_);
    // The player's own stages (and the editor's test stage) live in the working folder.
    shownTitle_ = isInWorkingFolder(stagePath) ? stage_.title : shippedStageTitle(stage_.title);
    if (replayPath) LoadBestRun(*replayPath);
    LoadWay();
    GlyphCache& cache = *TheGameSystem->glyphCache;
    for (int i = 0; i < LabelCount; ++i)
        labels_[std::size_t(i)] = CreateLabel(cache, LabelDescs[i]);
    // A title too long for the band ends in "…" at its edge, and takes glyph cells for what shows.
    const LabelDesc& title = LabelDescs[TitleLabel];
    // A test play is headed as one, with the stage's own title: it has no number yet.
    const std::u16string heading = session_.editMode ? tr(u"テストプレイ：") + stage_.title
                                   : session_.ownStageFile.empty()
                                       ? FormatStageTitle(session_.stageNumber, shownTitle_)
                                       : FormatOwnStageTitle(session_.ownStageFile, stage_.title);
    labels_[TitleLabel] =
        CreateFittedLabel(cache, heading, {title.x, title.y}, title.scale, HeadsUpBand.right);
    if (session_.editMode)
        testHint_ = CreateHintLabel(
            cache, NameGameKeys(tr(u"中ボタン・{C}・BackSpace：エディタに戻る　P：一時停止")));
    const std::u16string pauseText = tr(u"ポーズ中（Pで再開）");
    pauseLabel_ = CreateLabel(cache, {pauseText.c_str(), 0.0f, -120.0f, 0.8f, TextAlign::Center});
    ResetAttempt();
    ChangeState(GameState::WaitStart);
    ShowMessage(ClickToStartMessage);
}

void SceneGameMain::LoadBestRun(const std::string& path) {
    std::string problem;
    ghostRecord_ = loadBestRun(path, stage_, problem);
    if (!problem.empty())
        std::fprintf(stderr, "twirlstick: %s: %s; the stage is played without a best run\n", path.c_str(),
                     problem.c_str());
    if (ghostRecord_) best_ = ghostRecord_->total();
}

// Only the ten stages ship a proven route; the editor's test play already shows its checked one.
void SceneGameMain::LoadWay() {
    if (!session_.ownStageFile.empty() || session_.editMode) return;
    // Read once this attempt's miss could make the third.
    if (!session_.showWay && session_.barsLostHere + 1 < GameSession::BarsLostBeforeGuide) return;
    std::string problem;
    wayRoute_ = loadProvenRoute(solutionFileName(session_.stageNumber), stage_, problem);
    if (!problem.empty())
        std::fprintf(stderr, "twirlstick: %s: %s; no guide for this stage\n",
                     solutionFileName(session_.stageNumber).c_str(), problem.c_str());
    if (wayRoute_ && session_.showWay) wayRecord_ = std::make_unique<InputRecord>(*wayRoute_);
}

bool SceneGameMain::WayOffered() const {
    if (!wayRoute_ || session_.showWay || session_.barsLeft <= 0) return false;
    const bool missed = (state_ == GameState::Replay || state_ == GameState::ReplayPause) && !cleared_;
    return session_.barsLostHere + (missed ? 1 : 0) >= GameSession::BarsLostBeforeGuide;
}

void SceneGameMain::ChangeState(GameState next) {
    state_ = next;
    timer_ = 0;
}

void SceneGameMain::ShowMessage(int index) {
    if (index == messageIndex_) return;
    labels_[MessageLabel]->SetText(tr(Messages[index]));
    messageIndex_ = index;
}

void SceneGameMain::ResetAttempt() {
    attempt_.restart();
    ghostBar_.reset(stage_.initialPivot, stage_.initialAngle);
    wayBar_.reset(stage_.initialPivot, stage_.initialAngle);
    messageIndex_ = -1; // the result message stays on screen during the replay
    camera_ = stage_.startCamera;
    camera_.zoom = sanitizedZoom(camera_.zoom);
    RefreshTexts();
}

void SceneGameMain::RefreshTimeText() {
    const std::u16string text =
        cleared_ ? tr(u"クリア時間:") + FormatSeconds(record_.total()) + tr(u"秒")
                 : tr(u"残り時間:") + FormatSeconds(std::max(attempt_.remaining(), 0)) + tr(u"秒");
    if (labels_[TimeLabel]->Text() != text) labels_[TimeLabel]->SetText(text);
}

void SceneGameMain::RefreshTexts() {
    RefreshTimeText();
    labels_[BarsLabel]->SetText(tr(u"残り棒：") +
                                std::u16string(std::size_t(std::clamp(session_.barsLeft, 0, 30)), u'/'));
    // In a test play the ghost is the route the editor's check found, not a best run.
    const std::u16string best = session_.editMode ? tr(u"見つけたルート:") : std::u16string(u"BEST:");
    labels_[BestLabel]->SetText(best_ > 0 ? best + FormatSeconds(best_) + tr(u"秒") : best + u"----");
}

void SceneGameMain::StepGhost() {
    if (ghostRecord_ && ghostRecord_->played() < ghostRecord_->total()) {
        const InputFlags ghost = ghostRecord_->readNext();
        ghostBar_.step(ghost.fast, ghost.switchPivot);
    }
    if (wayRecord_ && wayRecord_->played() < wayRecord_->total()) {
        const InputFlags way = wayRecord_->readNext();
        wayBar_.step(way.fast, way.switchPivot);
    }
}

// The attempt's own frames are untimed here: the replay only shows them again.
void SceneGameMain::ReplayFrame() {
    const InputFlags flags = record_.readNext();
    if (flags.switchPivot) playEffect(SoundId::click);
    attempt_.bar().step(flags.fast, flags.switchPivot);
    StepGhost();
}

void SceneGameMain::PlayFrame() {
    const MouseState& mouse = TheGameSystem->mouseState;
    const InputFlags flags{mouse.Held(MouseRight), mouse.Pressed(MouseLeft)};
    if (flags.switchPivot) playEffect(SoundId::click);
    const FrameOutcome outcome = attempt_.advance(flags);
    record_.append(flags.fast, flags.switchPivot);
    StepGhost();
    switch (outcome) {
    case FrameOutcome::Wall:
        Miss(false);
        break;
    case FrameOutcome::Goal:
        Clear();
        break;
    case FrameOutcome::TimeOut:
        Miss(true);
        break;
    case FrameOutcome::Continue:
        break;
    }
    if (state_ != GameState::Playing) return; // no hurry or fast music over a finished attempt
    if (timer_ > FramesPerSecond) ShowMessage(NoMessage);
    if (attempt_.remaining() == HurryFrames) {
        playEffect(SoundId::hurry);
        stopMusic();
    } else if (attempt_.remaining() == FastMusicFrames) {
        playMusic(SoundId::bgm_fast);
    }
}

void SceneGameMain::Clear() {
    stopMusic();
    playEffect(SoundId::clear);
    ShowMessage(GoalMessage);
    newRecord_ = !ghostRecord_ || record_.total() <= ghostRecord_->total();
    // Written before the end event, as every stored best run is. A run that cannot be kept is
    // no record: the old best stays shown, and the player is told, as for the settings.
    if (newRecord_ && !session_.editMode && !KeepBestRun()) newRecord_ = false;
    if (ghostRecord_ && newRecord_) playEffect(SoundId::newrecord);
    if (newRecord_) {
        best_ = record_.total();
        RefreshTexts();
    }
    EndAttempt(true);
}

bool SceneGameMain::KeepBestRun() {
    const std::string path =
        session_.ownStageFile.empty() ? replayFileName(session_.stageNumber) : ownReplayFileName(stage_);
    std::error_code error;
    std::string kept;
    const bool saved = saveBestRun(path, stage_, record_, error, &kept);
    if (!kept.empty())
        std::fprintf(stderr, "twirlstick: %s: the run there was kept as %s\n", path.c_str(), kept.c_str());
    if (saved) return true;
    std::fprintf(stderr, "twirlstick: cannot write %s: %s\n", path.c_str(), error.message().c_str());
    ShowMessageBox(tr(u"記録を保存できませんでした\nこのクリアは記録に残りません"), u"WARNING",
                   MessageBoxStyle::Ok);
    return false;
}

void SceneGameMain::Miss(bool timeOut) {
    stopMusic();
    playEffect(SoundId::miss);
    ShowMessage(timeOut ? TimeUpMessage : WallMessage);
    EndAttempt(false);
}

void SceneGameMain::EndAttempt(bool cleared) {
    record_.finish();
    ChangeState(GameState::Result);
    record_.rewind();
    if (ghostRecord_) ghostRecord_->rewind();
    if (wayRecord_) wayRecord_->rewind();
    cleared_ = cleared;
}

void SceneGameMain::Leave() {
    if (leftThisUpdate_) return;
    leftThisUpdate_ = true;
    master_->PopScene();
}

void SceneGameMain::EndRun() {
    if (session_.ownStageFile.empty() || session_.editMode) {
        Leave();
    } else if (!leftThisUpdate_) { // back to the list the own stage was chosen from
        leftThisUpdate_ = true;
        master_->ChangeScene(SceneId::StageSelect);
    }
}

void SceneGameMain::ChangeToNextAttempt() {
    leftThisUpdate_ = true;
    master_->ChangeScene(SceneId::GameMain);
}

void SceneGameMain::Proceed() {
    if (leftThisUpdate_) return; // already leaving (test play's middle press): ask nothing more
    if (cleared_) {
        if (session_.editMode || !session_.ownStageFile.empty()) {
            EndRun();
        } else if (session_.stageNumber + 1 < StageCount) {
            session_.stageNumber += 1;
            session_.startStage();
            ChangeToNextAttempt();
        } else {
            ShowMessage(AllClearMessage);
            ChangeState(GameState::AllClear);
        }
    } else if (session_.barsLeft > 0) {
        session_.barsLeft -= 1;
        session_.barsLostHere += 1;
        ChangeToNextAttempt();
    } else {
        ChangeState(GameState::GameOver);
        ShowMessage(GameOverMessage);
        playEffect(SoundId::gameover);
    }
}

SceneGameMain::~SceneGameMain() {
    if (paused_) PauseAllSounds(false, PauseReason::Play); // left while paused (test play's middle button)
    if (soundHeld_) PauseAllSounds(false, PauseReason::Focus);
}

bool SceneGameMain::HoldForPause() {
    if (state_ != GameState::Playing) return false;
    const bool requested = TheGameSystem->pauseRequested;
    const bool toggle = TheGameSystem->keyState.Typed(platform::Key::P);
    const bool pause = requested || (toggle ? !paused_ : paused_);
    // A turn with a request (focus back, a box closed, a pad gone) only pauses: the click that
    // gives the window its focus back is meant for the window, not for the menu item under it.
    if (paused_ && pause && !requested) return RunPauseMenu();
    SetPaused(pause);
    return paused_;
}

void SceneGameMain::StandStill() {
    if (state_ == GameState::Playing && TheGameSystem->pauseRequested) SetPaused(true);
    // Play stands still without the focus, and its sound with it; the next update lets it go.
    if (!soundHeld_) PauseAllSounds(soundHeld_ = true, PauseReason::Focus);
}

void SceneGameMain::SetPaused(bool paused) {
    if (paused == paused_) return;
    paused_ = paused;
    PauseAllSounds(paused_, PauseReason::Play);
    if (paused_) pauseMenu_.Open(WayOffered(), session_.barsLeft <= 0);
}

// The turn of a choice is no frame of play either: the click or key that chose stays off the bar.
bool SceneGameMain::RunPauseMenu() {
    switch (pauseMenu_.Update()) {
    case PauseMenu::Resume:
        SetPaused(false);
        break;
    case PauseMenu::Retry: // as if the bar was lost, without the miss's show: it costs a bar
        if (session_.barsLeft <= 0 &&
            ShowMessageBox(tr(u"残りの棒がありません\nやり直すとゲームオーバーになります\nよろしいですか？"),
                           u"WARNING", MessageBoxStyle::OkCancelDefaultCancel) != MessageBoxResult::Ok)
            break; // still paused, the attempt as it was
        SetPaused(false);
        stopMusic();
        cleared_ = false;
        Proceed();
        break;
    case PauseMenu::ShowWay: // this attempt goes on as it was; the next one shows the route
        session_.showWay = true;
        SetPaused(false);
        break;
    case PauseMenu::Leave: // the attempt is dropped unfinished, so nothing of it is kept
        SetPaused(false);
        stopMusic();
        Leave();
        break;
    default:
        break;
    }
    return true;
}

void SceneGameMain::Update() {
    const MouseState& mouse = TheGameSystem->mouseState;
    leftThisUpdate_ = false;
    if (soundHeld_) PauseAllSounds(soundHeld_ = false, PauseReason::Focus);
    if (session_.editMode &&
        (mouse.Pressed(MouseMiddle) || TheGameSystem->keyState.Typed(platform::Key::Backspace)))
        Leave();
    // Paused frames are not frames of the attempt: no clock, no bar, no ghost, no record.
    if (HoldForPause()) return;
    timer_ += 1;
    switch (state_) {
    case GameState::WaitStart:
        if (mouse.Pressed(MouseLeft)) {
            ChangeState(GameState::Countdown);
            ShowMessage(ThreeMessage);
            playEffect(SoundId::countdown);
        }
        break;
    case GameState::Countdown:
        CountdownFrame();
        break;
    case GameState::Playing:
        PlayFrame();
        break;
    case GameState::Result:
        if (timer_ > ResultFrames) {
            ResetAttempt();
            ChangeState(GameState::Replay);
        }
        break;
    case GameState::Replay:
        ReplayFrame();
        if (!record_.hasFramesLeft()) {
            ChangeState(GameState::ReplayPause);
        }
        AskForWay();
        if (mouse.Pressed(MouseLeft)) Proceed();
        break;
    case GameState::ReplayPause:
        if (timer_ > ResultFrames) {
            record_.rewind();
            if (ghostRecord_) ghostRecord_->rewind();
            if (wayRecord_) wayRecord_->rewind();
            ResetAttempt();
            ChangeState(GameState::Replay);
        }
        AskForWay();
        if (mouse.Pressed(MouseLeft)) Proceed();
        break;
    case GameState::GameOver:
        if (timer_ > GameOverFrames) EndRun();
        break;
    case GameState::AllClear:
        if (timer_ > AllClearFrames) Leave();
        break;
    }
    if (state_ != GameState::WaitStart) FollowBar();
    RefreshTimeText();
}

// In a missed attempt's replay the right button asks for the guide and goes on, as a left click
// would: the next attempt (which costs the bar as always) shows the route.
void SceneGameMain::AskForWay() {
    if (!WayOffered() || !TheGameSystem->mouseState.Pressed(MouseRight)) return;
    session_.showWay = true;
    Proceed();
}

void SceneGameMain::CountdownFrame() {
    ghostBar_.step(false, false); // one whole turn in the countdown, as a preview
    if (wayRecord_) wayBar_.step(false, false);
    if (timer_ % 60 != 0) return;
    const int q = timer_ / 60;
    if (q < 3) {
        ShowMessage(ThreeMessage + q);
        playEffect(SoundId::countdown);
        return;
    }
    playMusic(SoundId::bgm);
    playEffect(SoundId::start);
    ChangeState(GameState::Playing);
    ShowMessage(StartMessage);
}

void SceneGameMain::FollowBar() {
    const Vec2 target = attempt_.bar().pivot();
    camera_.x += (target.x - camera_.x) * CameraGlide;
    camera_.y += (target.y - camera_.y) * CameraGlide;
    camera_.zoom += (1.0f - camera_.zoom) * CameraGlide;
}

Color32 SceneGameMain::BestLabelColor() const {
    if (newRecord_) {
        const bool shown = state_ != GameState::Result || (timer_ / 15) % 2 == 1;
        return shown ? Colors::Yellow : makeColor(255, 255, 0, 0);
    }
    if (ghostRecord_ && record_.total() > ghostRecord_->total()) return Colors::Red;
    return Colors::White;
}

void SceneGameMain::Draw() const {
    ClearScreen(Colors::Black);
    TheGameSystem->cameraStack.PushCamera(camera_);
    drawBar(attempt_.bar());
    if (GhostDrawn()) drawBar(ghostBar_);
    if (WayShown()) drawBar(wayBar_);
    stageMesh_.Draw(stage_, false);
    TheGameSystem->cameraStack.PopCamera();

    // The texts come after the world, each on a dark panel, so no line of a stage runs through them.
    LegibleLabels headsUp;
    for (int i : {TitleLabel, TimeLabel, BarsLabel, MessageLabel})
        headsUp.Add(*labels_[std::size_t(i)], Colors::White);
    if ((state_ == GameState::Replay || state_ == GameState::ReplayPause) && (timer_ / 60) % 2 == 1)
        headsUp.Add(*labels_[NoticeLabel], Colors::Yellow);
    if (WayOffered() && state_ != GameState::Playing) headsUp.Add(*labels_[WayNoticeLabel], WayTextColor);
    if (const Color32 best = BestLabelColor(); colorAlpha(best) != 0) headsUp.Add(*labels_[BestLabel], best);
    if (testHint_) headsUp.Add(*testHint_, Colors::White);
    headsUp.Draw();
    if (paused_) {
        FillRect(ViewRect, makeColor(0, 0, 0, 160));
        pauseLabel_->DrawLabel(Colors::White);
        pauseMenu_.Draw();
    }

    const float t = float(timer_) / 60.0f;
    const auto fadeIn = [&] { return std::uint8_t(std::min((t - 1.0f) * 255.0f * 0.5f, 255.0f)); };
    if (state_ == GameState::GameOver && timer_ > 60) {
        FillRect(ViewRect, makeColor(0, 0, 0, fadeIn()));
    } else if (state_ == GameState::AllClear && timer_ > 60) {
        if (timer_ < 180) {
            FillRect(ViewRect, makeColor(255, 255, 255, fadeIn()));
        } else {
            const auto v = std::uint8_t(std::max((8.0f - t) * 255.0f / 5.0f, 0.0f));
            FillRect(ViewRect, makeColor(v, v, v, 255));
        }
    }
}
