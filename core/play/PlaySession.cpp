#include "core/play/PlaySession.h"

#include "core/game/GameConstants.h"

#include <utility>

namespace {
constexpr Color32 GhostColor = makeColor(255, 255, 128, 96);
constexpr Color32 WayColor = makeColor(96, 224, 255, 128);    // the guide: apart from the best run's yellow
constexpr Color32 WorldColor = makeColor(255, 112, 224, 128); // the world best: apart from both
constexpr float CameraGlide = 0.03f;
} // namespace

PlaySession::PlaySession(Stage stage, GameSession& run, std::unique_ptr<InputRecord> best,
                         std::unique_ptr<InputRecord> wayRoute, BestRunKeeper keepBestRun)
    : stage_(std::move(stage)), run_(run), keepBestRun_(std::move(keepBestRun)),
      attempt_(stage_, Colors::White, Colors::Red), ghost_(std::move(best)),
      ghostBar_({}, BarLength, GhostColor, GhostColor, Angle(0.0f)), wayRoute_(std::move(wayRoute)),
      wayBar_({}, BarLength, WayColor, WayColor, Angle(0.0f)),
      worldBar_({}, BarLength, WorldColor, WorldColor, Angle(0.0f)) {
    if (ghost_) best_ = ghost_->total();
    if (wayRoute_ && run_.showWay) way_ = std::make_unique<InputRecord>(*wayRoute_);
    resetAttempt();
    changeState(GameState::WaitStart);
    showMessage(ClickToStartMessage);
}

// Only the ten stages ship a proven route; the editor's test play already shows its checked one.
bool PlaySession::wayRouteWanted(const GameSession& run) {
    if (!run.ownStageFile.empty() || run.editMode) return false;
    return run.showWay || run.barsLostHere + 1 >= GameSession::BarsLostBeforeGuide;
}

bool PlaySession::wayOffered() const {
    if (!wayRoute_ || run_.showWay || run_.barsLeft <= 0) return false;
    const bool missed = (state_ == GameState::Replay || state_ == GameState::ReplayPause) && !cleared_;
    return run_.barsLostHere + (missed ? 1 : 0) >= GameSession::BarsLostBeforeGuide;
}

void PlaySession::changeState(GameState next) {
    state_ = next;
    timer_ = 0;
}

void PlaySession::showMessage(int message) {
    message_ = message;
}

// The result's message stays on screen through the replay.
void PlaySession::resetAttempt() {
    attempt_.restart();
    ghostBar_.reset(stage_.initialPivot, stage_.initialAngle);
    wayBar_.reset(stage_.initialPivot, stage_.initialAngle);
    worldBar_.reset(stage_.initialPivot, stage_.initialAngle);
    camera_ = stage_.startCamera;
    camera_.zoom = sanitizedZoom(camera_.zoom);
}

void PlaySession::exit(PlayExit where) {
    if (events_.exit == PlayExit::Stay) events_.exit = where; // one scene request a frame
}

void PlaySession::update(const PlayInput& input) {
    events_ = {};
    menuTurn_ = false;
    if (run_.editMode && input.leaveTest) exit(PlayExit::Back);
    if (holdForPause(input)) return;
    timer_ += 1;
    switch (state_) {
    case GameState::WaitStart:
        if (input.leftPressed) {
            changeState(GameState::Countdown);
            showMessage(ThreeMessage);
            events_.effects.push_back(SoundId::countdown);
        }
        break;
    case GameState::Countdown:
        countdownFrame();
        break;
    case GameState::Playing:
        playFrame(input);
        break;
    case GameState::Result:
        if (timer_ > ResultFrames) {
            resetAttempt();
            changeState(GameState::Replay);
        }
        break;
    case GameState::Replay:
        replayFrame();
        if (!record_.hasFramesLeft()) changeState(GameState::ReplayPause);
        askForWay(input);
        if (input.leftPressed) proceed();
        break;
    case GameState::ReplayPause:
        if (timer_ > ResultFrames) {
            record_.rewind();
            rewindGhosts();
            resetAttempt();
            changeState(GameState::Replay);
        }
        askForWay(input);
        if (input.leftPressed) proceed();
        break;
    case GameState::GameOver:
        if (timer_ > GameOverFrames) exit(PlayExit::EndRun);
        break;
    case GameState::AllClear:
        if (timer_ > AllClearFrames) exit(PlayExit::Back);
        break;
    }
    if (state_ != GameState::WaitStart) followBar();
}

// A turn with a request (focus back, a box closed, a pad gone) only pauses: the click that gives
// the window its focus back is meant for the window, not for the menu item under it.
bool PlaySession::holdForPause(const PlayInput& input) {
    if (state_ != GameState::Playing) return false;
    const bool pause = input.pauseRequested || (input.pauseKey ? !paused_ : paused_);
    if (paused_ && pause && !input.pauseRequested) {
        menuTurn_ = true;
        return true;
    }
    setPaused(pause);
    return paused_;
}

void PlaySession::standStill(bool pauseRequested) {
    events_ = {};
    menuTurn_ = false;
    if (state_ == GameState::Playing && pauseRequested) setPaused(true);
}

void PlaySession::setPaused(bool paused) {
    paused_ = paused;
}

void PlaySession::resume() {
    setPaused(false);
}

void PlaySession::retry() {
    setPaused(false);
    events_.music = MusicCue::Stop;
    cleared_ = false;
    proceed();
}

void PlaySession::showWayNext() {
    run_.showWay = true;
    setPaused(false);
}

void PlaySession::leave() {
    setPaused(false);
    events_.music = MusicCue::Stop;
    exit(PlayExit::Back);
}

void PlaySession::raceWorld(std::unique_ptr<InputRecord> run) {
    if (state_ != GameState::WaitStart || !run) return; // never a ghost that starts late
    world_ = std::move(run);
    world_->rewind();
}

void PlaySession::stepGhosts() {
    for (const auto& [record, bar] : {std::pair{ghost_.get(), &ghostBar_}, std::pair{way_.get(), &wayBar_},
                                      std::pair{world_.get(), &worldBar_}})
        if (record && record->played() < record->total()) {
            const InputFlags flags = record->readNext();
            bar->step(flags.fast, flags.switchPivot);
        }
}

void PlaySession::rewindGhosts() {
    for (InputRecord* record : {ghost_.get(), way_.get(), world_.get()})
        if (record) record->rewind();
}

void PlaySession::countdownFrame() {
    ghostBar_.step(false, false); // one whole turn in the countdown, as a preview
    if (way_) wayBar_.step(false, false);
    if (world_) worldBar_.step(false, false);
    if (timer_ % FramesPerSecond != 0) return;
    const int second = timer_ / FramesPerSecond;
    if (second < 3) {
        showMessage(ThreeMessage + second);
        events_.effects.push_back(SoundId::countdown);
        return;
    }
    events_.music = MusicCue::Normal;
    events_.effects.push_back(SoundId::start);
    changeState(GameState::Playing);
    showMessage(StartMessage);
}

void PlaySession::playFrame(const PlayInput& input) {
    const InputFlags flags{input.rightHeld, input.leftPressed};
    if (flags.switchPivot) events_.effects.push_back(SoundId::click);
    const FrameOutcome outcome = attempt_.advance(flags);
    record_.append(flags.fast, flags.switchPivot);
    stepGhosts();
    switch (outcome) {
    case FrameOutcome::Wall:
        miss(false);
        break;
    case FrameOutcome::Goal:
        clear();
        break;
    case FrameOutcome::TimeOut:
        miss(true);
        break;
    case FrameOutcome::Continue:
        break;
    }
    if (state_ != GameState::Playing) return; // no hurry or fast music over a finished attempt
    if (timer_ > FramesPerSecond) showMessage(NoMessage);
    if (attempt_.remaining() == HurryFrames) {
        events_.effects.push_back(SoundId::hurry);
        events_.music = MusicCue::Stop;
    } else if (attempt_.remaining() == FastMusicFrames) {
        events_.music = MusicCue::Fast;
    }
}

// The attempt's own frames are untimed here: the replay only shows them again.
void PlaySession::replayFrame() {
    const InputFlags flags = record_.readNext();
    if (flags.switchPivot) events_.effects.push_back(SoundId::click);
    attempt_.bar().step(flags.fast, flags.switchPivot);
    stepGhosts();
}

void PlaySession::clear() {
    events_.music = MusicCue::Stop;
    events_.effects.push_back(SoundId::clear);
    showMessage(GoalMessage);
    newRecord_ = !ghost_ || record_.total() <= ghost_->total();
    // Written before the end event, as every stored best run is. A run that cannot be kept is no
    // record: the old best stays shown.
    if (newRecord_ && !run_.editMode && !keepBestRun_(record_)) newRecord_ = false;
    if (ghost_ && newRecord_) events_.effects.push_back(SoundId::newrecord);
    if (newRecord_) best_ = record_.total();
    endAttempt(true);
}

void PlaySession::miss(bool timeOut) {
    events_.music = MusicCue::Stop;
    events_.effects.push_back(SoundId::miss);
    showMessage(timeOut ? TimeUpMessage : WallMessage);
    endAttempt(false);
}

void PlaySession::endAttempt(bool cleared) {
    record_.finish();
    changeState(GameState::Result);
    record_.rewind();
    rewindGhosts();
    cleared_ = cleared;
}

// In a missed attempt's replay the right button asks for the guide and goes on, as a left click
// would: the next attempt (which costs the bar as always) shows the route.
void PlaySession::askForWay(const PlayInput& input) {
    if (!wayOffered() || !input.rightPressed) return;
    run_.showWay = true;
    proceed();
}

void PlaySession::proceed() {
    if (events_.exit != PlayExit::Stay) return; // already leaving (test play's way back): no more
    if (cleared_) {
        if (run_.editMode || !run_.ownStageFile.empty()) {
            exit(PlayExit::EndRun);
        } else if (run_.stageNumber + 1 < StageCount) {
            run_.stageNumber += 1;
            run_.startStage();
            exit(PlayExit::NextAttempt);
        } else {
            showMessage(AllClearMessage);
            changeState(GameState::AllClear);
        }
    } else if (run_.barsLeft > 0) {
        run_.barsLeft -= 1;
        run_.barsLostHere += 1;
        exit(PlayExit::NextAttempt);
    } else {
        changeState(GameState::GameOver);
        showMessage(GameOverMessage);
        events_.effects.push_back(SoundId::gameover);
    }
}

void PlaySession::followBar() {
    const Vec2 target = attempt_.bar().pivot();
    camera_.x += (target.x - camera_.x) * CameraGlide;
    camera_.y += (target.y - camera_.y) * CameraGlide;
    camera_.zoom += (1.0f - camera_.zoom) * CameraGlide;
}
