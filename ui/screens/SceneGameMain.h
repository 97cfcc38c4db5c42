#pragma once
// The play screen: a frame's input into the play session, its sounds and scene requests carried
// out, and the stage, the bars and the texts drawn. The rules of play are the session's. With the
// online records on, a new best run is sent, and the world best's ghost raced when asked for.
#include "core/play/PlaySession.h"
#include "ui/render/StageMesh.h"
#include "ui/render/TextLabel.h"
#include "ui/scene/FrameContext.h"
#include "ui/scene/SceneBase.h"
#include "ui/screens/PauseMenu.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

class SceneMaster;

class SceneGameMain : public Lib::Scene::SceneBase {
public:
    SceneGameMain(SceneMaster* master, GameSession& session, const std::string& stagePath,
                  const std::optional<std::string>& replayPath);
    ~SceneGameMain() override;
    void Update() override;
    void Draw() const override;
    // Play pauses the moment the window loses focus, so the pause shows while it is away.
    void StandStill() override;

    const PlaySession& Play() const { return *play_; }
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
    std::unique_ptr<InputRecord> LoadBestRun(const std::string& path, const Stage& stage) const;
    std::unique_ptr<InputRecord> LoadWay(const Stage& stage) const;
    bool KeepBestRun(const InputRecord& record); // false, after saying so in a box, when not written
    // Asks for the world best's run while the attempt waits for its start (once an attempt), and
    // races it once it came and clears this stage.
    void LoadWorldRun();
    bool RaceOffered() const;
    void RunPauseMenu();
    // Sounds, the pause's sound and menu, the next scene: what the session asked for this turn.
    void Carry(bool wasPaused);
    void RefreshTexts();

    SceneMaster* master_;
    const FrameContext& context_;
    GameSession& session_;
    std::string stagePath_; // sent with a new best run to the online records
    std::string stageId_;   // the stage's name there; "" without them
    int worldStep_ = 0;     // 1: the world best's run asked for, 2: and checked
    std::unique_ptr<PlaySession> play_;
    std::u16string shownTitle_; // a shipped stage's in the player's language
    std::array<std::unique_ptr<TextLabel>, LabelCount> labels_;
    std::unique_ptr<TextLabel> pauseLabel_;
    std::unique_ptr<TextLabel> testHint_; // how to leave a test play; none in a real one
    PauseMenu pauseMenu_;
    int shownMessage_ = NoMessage;
    int shownBars_ = -1;     // none shown yet, as for the best
    int shownBest_ = -2;     // none shown yet: the first refresh writes the label
    bool soundHeld_ = false; // the window lost its focus: the sound waits with the picture
    StageMesh stageMesh_;    // the stage's lines, built again only when the stage changes
};
