#pragma once
// One attempt at one stage: the start click, the countdown, timed play, the result, and the
// replay beside the ghost of the best run until the player clicks on. A player stuck on a stage
// may ask for its proven route, shown as a second ghost from the next attempt on.
#include "core/game/Attempt.h"
#include "core/game/Bar.h"
#include "core/game/InputRecord.h"
#include "core/stage/Camera.h"
#include "core/stage/Stage.h"
#include "ui/render/StageMesh.h"
#include "ui/render/TextLabel.h"
#include "ui/scene/SceneBase.h"
#include "ui/screens/PauseMenu.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class SceneMaster;
struct GameSession;

enum class GameState { WaitStart, Countdown, Playing, Result, Replay, ReplayPause, GameOver, AllClear };

class SceneGameMain : public Lib::Scene::SceneBase {
public:
    static constexpr int CountdownFrames = 180;
    static constexpr int ResultFrames = 120;
    static constexpr int GameOverFrames = 300;
    static constexpr int AllClearFrames = 600;
    // The centre message's texts, in this order.
    enum Message {
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
        MessageCount
    };

    SceneGameMain(SceneMaster* master, GameSession& session, const std::string& stagePath,
                  const std::optional<std::string>& replayPath);
    ~SceneGameMain() override;
    void Update() override;
    void Draw() const override;
    // Play pauses the moment the window loses focus, so the pause shows while it is away.
    void StandStill() override;

    GameState State() const { return state_; }
    bool Paused() const { return paused_; }
    int Remaining() const { return attempt_.remaining(); }
    int Best() const { return best_; }
    bool Cleared() const { return cleared_; }
    bool IsNewRecord() const { return newRecord_; }
    bool GhostDrawn() const { return ghostRecord_ || state_ == GameState::Countdown; }
    bool WayShown() const { return wayRecord_ != nullptr; }
    // Whether the guide may be asked for now: three bars lost here (counting the one a missed
    // attempt's replay is about to cost), a next attempt to show it in, and a route to show.
    bool WayOffered() const;
    int MessageIndex() const { return messageIndex_; }
    const Bar& PlayerBar() const { return attempt_.bar(); }
    const InputRecord& Record() const { return record_; }
    const TextLabel& Label(int i) const { return *labels_[std::size_t(i)]; }
    const PauseMenu& Menu() const { return pauseMenu_; }
    Color32 BestLabelColor() const; // and whether it shows: alpha 0 when hidden

    enum LabelIndex {
        TitleLabel,
        TimeLabel,
        BarsLabel,
        BestLabel,
        MessageLabel,
        NoticeLabel,
        WayNoticeLabel,
        LabelCount
    };

private:
    void LoadBestRun(const std::string& path);
    // Every state starts its own count of frames.
    void ChangeState(GameState next);
    void ShowMessage(int index);
    void ResetAttempt();
    void RefreshTexts();
    void RefreshTimeText();
    void StepGhost();
    void LoadWay();
    void AskForWay();
    void CountdownFrame();
    // P (Start on a gamepad) toggles the pause in play; losing focus or a box pauses. While paused
    // the pause menu runs. True while paused, and in the turn its choice resumes or ends play.
    bool HoldForPause();
    void SetPaused(bool paused);
    bool RunPauseMenu();
    void PlayFrame();
    void ReplayFrame();
    void Clear();
    bool KeepBestRun(); // false, after saying so on screen, when the new best could not be written
    void Miss(bool timeOut);
    void EndAttempt(bool cleared); // the record closed and rewound for the replay
    void Proceed();
    void ChangeToNextAttempt();
    void Leave();
    // The run is over: to the title, the editor, or the stage select an own stage came from.
    void EndRun();
    // The camera eases toward the pivot and back to zoom 1.
    void FollowBar();

    SceneMaster* master_;
    GameSession& session_;
    Bar ghostBar_;
    Stage stage_;
    std::u16string shownTitle_; // a shipped stage's in the player's language
    Attempt attempt_;           // plays stage_, so it comes after it
    InputRecord record_;
    std::unique_ptr<InputRecord> ghostRecord_;
    Bar wayBar_;
    std::unique_ptr<InputRecord> wayRoute_;  // the shipped stage's proven route, once it may be offered
    std::unique_ptr<InputRecord> wayRecord_; // the same, played beside this attempt when asked for
    int best_ = -1;
    int timer_ = 0;
    bool cleared_ = false;
    bool newRecord_ = false;
    std::array<std::unique_ptr<TextLabel>, LabelCount> labels_;
    std::unique_ptr<TextLabel> pauseLabel_;
    std::unique_ptr<TextLabel> testHint_; // how to leave a test play; none in a real one
    PauseMenu pauseMenu_;
    bool paused_ = false;
    bool soundHeld_ = false; // the window lost its focus: the sound waits with the picture
    GameState state_ = GameState::WaitStart;
    int messageIndex_ = NoMessage;
    Camera camera_ = DefaultCamera;
    StageMesh stageMesh_;         // the stage's lines, built again only when the stage changes
    bool leftThisUpdate_ = false; // a scene request was made: no second one in the same update
};
