#pragma once
// One attempt at one stage under the game's rules: the start click, the countdown, timed play,
// the result, and the replay beside the ghost of the best run until the player clicks on; the
// bars of the run, the next stage, the game's end and the ending; the best-run decision; and the
// guide, the stage's proven route, once the player is stuck. Headless: a scene feeds it a frame's
// input and carries out what it asks for (sounds, the record to keep, the scene to go to).
#include "core/game/Attempt.h"
#include "core/game/Bar.h"
#include "core/game/InputRecord.h"
#include "core/play/GameSession.h"
#include "core/sound/SoundId.h"
#include "core/stage/Camera.h"
#include "core/stage/Stage.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

enum class GameState { WaitStart, Countdown, Playing, Result, Replay, ReplayPause, GameOver, AllClear };

// The centre message, in the order of its texts.
enum PlayMessage {
    ClickToStartMessage,
    ThreeMessage,
    TwoMessage,
    OneMessage,
    StartMessage,
    WallMessage,
    TimeUpMessage,
    GoalMessage,
    AllClearMessage,
    GameOverMessage,
    NoMessage,
    PlayMessageCount
};

// One frame's input: the buttons as the bar reads them, and the requests around play.
struct PlayInput {
    bool leftPressed = false;    // the start click, the pivot switch, on in a replay
    bool rightHeld = false;      // the fast turn
    bool rightPressed = false;   // in a missed attempt's replay: the guide
    bool pauseKey = false;       // P (Start on a gamepad) toggles the pause in play
    bool pauseRequested = false; // focus back, a box closed, a pad gone: a pause, never a choice
    bool leaveTest = false;      // a test play's way back to the editor
};

// Where the scene goes after this frame.
enum class PlayExit {
    Stay,
    NextAttempt, // the next attempt: the same stage after a miss, the next stage after a clear
    Back,        // to the scene below: the title, or the editor a test play came from
    EndRun,      // the run is over: to the stage select an own stage came from, else as Back
};

enum class MusicCue { Keep, Normal, Fast, Stop };

// What a frame (and the choices made in its turn) asks of the scene, in order.
struct PlayEvents {
    std::vector<SoundId> effects;
    MusicCue music = MusicCue::Keep;
    PlayExit exit = PlayExit::Stay;
};

class PlaySession {
public:
    static constexpr int CountdownFrames = 180;
    static constexpr int ResultFrames = 120;
    static constexpr int GameOverFrames = 300;
    static constexpr int AllClearFrames = 600;
    static constexpr int HurryFrames = 600;
    static constexpr int FastMusicFrames = 540;

    // Writes a new best run; false when it could not be kept, which makes the clear no record.
    using BestRunKeeper = std::function<bool(const InputRecord&)>;

    // `best` is the stage's trusted best run, `wayRoute` its proven route (when the run may be
    // offered it: wayRouteWanted); either may be null. A test play keeps no best run.
    PlaySession(Stage stage, GameSession& run, std::unique_ptr<InputRecord> best,
                std::unique_ptr<InputRecord> wayRoute, BestRunKeeper keepBestRun);
    PlaySession(const PlaySession&) = delete;
    PlaySession& operator=(const PlaySession&) = delete;

    // Whether the stage's proven route is worth reading for this attempt: shipped stages only,
    // once this attempt's miss could be the one that makes the player stuck.
    static bool wayRouteWanted(const GameSession& run);

    // One frame. Paused frames are not frames of the attempt: no clock, no bar, no ghost, no
    // record. Clears the events of the frame before.
    void update(const PlayInput& input);
    // Without the focus the scene is not updated; a pause asked for meanwhile shows at once.
    void standStill(bool pauseRequested);

    // Paused in play, and this frame is the pause menu's turn: the scene runs the menu and passes
    // its choice. The turn of a choice is no frame of play: the press that chose stays off the bar.
    bool menuTurn() const { return menuTurn_; }
    void resume();
    // As if the bar was lost, without the miss's show: it costs a bar, or ends the game.
    void retry();
    // This attempt goes on as it was; the next one shows the stage's route.
    void showWayNext();
    // The attempt is dropped unfinished, so nothing of it is kept.
    void leave();
    // The world best's run (online records), raced beside this attempt when it comes before the
    // start click; the caller has checked that it clears this stage.
    void raceWorld(std::unique_ptr<InputRecord> run);

    const PlayEvents& events() const { return events_; }
    GameState state() const { return state_; }
    int timer() const { return timer_; } // frames since the state began
    bool paused() const { return paused_; }
    int message() const { return message_; }
    int remaining() const { return attempt_.remaining(); }
    int best() const { return best_; }
    bool cleared() const { return cleared_; }
    bool newRecord() const { return newRecord_; }
    // The best run's ghost shows in play and replay, and turns once on the spot in the countdown.
    bool ghostShown() const { return ghost_ || state_ == GameState::Countdown; }
    bool wayShown() const { return way_ != nullptr; }
    bool worldShown() const { return world_ != nullptr; }
    // Whether the guide may be asked for now: enough bars lost here (counting the one a missed
    // attempt's replay is about to cost), a next attempt to show it in, and a route to show.
    bool wayOffered() const;
    // Slower than the best run so far in this attempt.
    bool behindBest() const { return ghost_ && record_.total() > ghost_->total(); }
    const Stage& stage() const { return stage_; }
    const Bar& playerBar() const { return attempt_.bar(); }
    const Bar& ghostBar() const { return ghostBar_; }
    const Bar& wayBar() const { return wayBar_; }
    const Bar& worldBar() const { return worldBar_; }
    const InputRecord& record() const { return record_; }
    const Camera& camera() const { return camera_; }
    const GameSession& run() const { return run_; }

private:
    void changeState(GameState next);
    void showMessage(int message);
    void resetAttempt();
    void stepGhosts();
    void rewindGhosts();
    bool holdForPause(const PlayInput& input);
    void setPaused(bool paused);
    void countdownFrame();
    void playFrame(const PlayInput& input);
    void replayFrame();
    void clear();
    void miss(bool timeOut);
    void endAttempt(bool cleared);
    void askForWay(const PlayInput& input);
    void proceed();
    void exit(PlayExit where);
    void followBar();

    Stage stage_;
    GameSession& run_;
    BestRunKeeper keepBestRun_;
    Attempt attempt_; // plays stage_, so it comes after it
    InputRecord record_;
    std::unique_ptr<InputRecord> ghost_;
    Bar ghostBar_;
    std::unique_ptr<InputRecord> wayRoute_; // once it may be offered
    std::unique_ptr<InputRecord> way_;      // the same, played beside this attempt when asked for
    Bar wayBar_;
    std::unique_ptr<InputRecord> world_; // the world best's run, when raced
    Bar worldBar_;
    Camera camera_ = DefaultCamera;
    PlayEvents events_;
    GameState state_ = GameState::WaitStart;
    int timer_ = 0;
    int message_ = NoMessage;
    int best_ = -1;
    bool cleared_ = false;
    bool newRecord_ = false;
    bool paused_ = false;
    bool menuTurn_ = false;
};
