#pragma once
// The stage select: the ten stages with their best times (locked until reached), and a second
// page of the player's own stages. The pointer, the wheel, the arrows and a gamepad's d-pad move
// the highlight; Left and Right (or Tab, or a click on a tab) turn the page; Return, Z or a click
// plays the lit stage, and a run from one of the ten goes on to the stages after it.
#include "core/game/StageSelect.h"
#include "ui/render/TextLabel.h"
#include "ui/scene/FrameContext.h"
#include "ui/scene/SceneBase.h"

#include <array>
#include <memory>
#include <vector>

class SceneMaster;
struct GameSession;

class SceneStageSelect : public Lib::Scene::SceneBase {
public:
    SceneStageSelect(SceneMaster* master, GameSession& session);
    void Update() override;
    void Draw() const override;

    const StageSelect& Model() const { return select_; }
    // Row k of those in sight: the stage's name and title, and its best time.
    const TextLabel* RowName(int k) const;
    const TextLabel* RowTime(int k) const;
    const TextLabel& Tab(int page) const { return *tabs_[std::size_t(page)]; }
    const TextLabel& ExitLabel() const { return *exit_; }
    const TextLabel& TotalLabel() const { return *total_; }
    const TextLabel& LockedNote() const { return *locked_; }

private:
    struct Row {
        std::unique_ptr<TextLabel> name, time;
        Rect box;
    };

    void Steer();
    int EntryUnder(Vec2 p) const;
    int TabUnder(Vec2 p) const;
    void TurnPage(StageSelect::Page page);
    void Choose(int entry);
    void PlayOwn(int entry);
    // The labels of the rows in sight, made again when the page or the sight moved.
    void ShowRowsInSight();
    Row MakeRow(int entry, float y);

    SceneMaster* master_;
    const FrameContext& context_;
    GameSession& session_;
    StageSelect select_;
    std::array<std::unique_ptr<TextLabel>, StageSelect::PageCount> tabs_;
    std::unique_ptr<TextLabel> exit_, total_, hint_, empty_;
    std::unique_ptr<TextLabel> locked_; // what unlocks the locked row pointed at or lit
    int lockedShown_ = -1;
    std::vector<Row> rows_;
    StageSelect::Page shownPage_ = StageSelect::Shipped;
    int shownFirst_ = -1; // -1: no rows made yet
};
