#pragma once
// The stage select: the ten stages with their best times (locked until reached) and, with the
// online records on, each one's world best, its holder and the player's rank; and a second page
// of the player's own stages. With the records on, a switch beside the total races the world
// best's ghost in the attempts played from here, and a third page lists the stages players
// published (title, maker, world best), a screenful at a time fetched as it is turned to (PageUp and
// PageDown or a click on the arrows under it); one chosen there is downloaded and played as an own stage. The
// pointer, the wheel, the arrows and a gamepad's d-pad move the highlight; Left and Right (or Tab, or a click
// on a tab) turn the page; Return, Z or a click plays the lit stage, and a run from one of the ten goes on to
// the stages after it.
#include "core/game/StageSelect.h"
#include "core/online/RecordsClient.h"
#include "ui/render/TextLabel.h"
#include "ui/scene/FrameContext.h"
#include "ui/scene/SceneBase.h"

#include <array>
#include <memory>
#include <set>
#include <string>
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
    const TextLabel* RowWorld(int k) const; // nullptr without the online records
    const TextLabel& Tab(int page) const { return *tabs_[std::size_t(page)]; }
    const TextLabel& ExitLabel() const { return *exit_; }
    const TextLabel& TotalLabel() const { return *total_; }
    const TextLabel& LockedNote() const { return *locked_; }
    const TextLabel* RaceSwitch() const { return race_.get(); } // nullptr without the online records

private:
    struct Row {
        std::unique_ptr<TextLabel> name, time, world;
        std::u16string worldText, timeText; // as shown, to know when the records changed them
        std::int64_t best = -1;             // the player's own time
        Rect box;
        float y = 0.0f; // the texts' baseline
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
    // The world best and the player's rank of the stages in sight, asked for once a visit.
    void ShowWorldBests();
    // The content id of a row's stage on the records server; "" for an own stage.
    std::string StageIdOf(int entry);
    int Pages() const { return race_ ? StageSelect::PageCount : StageSelect::Online; }
    // The published stages, asked for once a visit; the one chosen, played once it is here.
    void FollowOnlinePage();
    void ShowPublished(const online::StagePage& page);
    // Asks for the published stages `step` screenfuls from those shown, when there are any.
    void TurnPublished(int step);
    void PlayOnline(const std::string& id);

    SceneMaster* master_;
    const FrameContext& context_;
    GameSession& session_;
    StageSelect select_;
    std::array<std::unique_ptr<TextLabel>, StageSelect::PageCount> tabs_;
    std::unique_ptr<TextLabel> exit_, total_, hint_, empty_, emptyHow_, emptyOnline_;
    std::unique_ptr<TextLabel> locked_; // what unlocks the locked row pointed at or lit
    std::unique_ptr<TextLabel> race_;
    void ShowRaceSwitch();
    int lockedShown_ = -1;
    std::vector<Row> rows_;
    StageSelect::Page shownPage_ = StageSelect::Shipped;
    int shownFirst_ = -1;         // -1: no rows made yet
    std::set<std::string> asked_; // stages whose world best was asked for on this visit
    bool listed_ = false;         // the published stages were asked for on this visit
    std::string downloading_;     // the published stage chosen, until its file is here
    std::unique_ptr<TextLabel> onlineHint_, publishedAt_, publishedBack_, publishedOn_;
    int publishedShown_ = 0; // the serial of the published stages shown; 0: none yet
    int publishedPage_ = 0;
    bool publishedMore_ = false;
};
