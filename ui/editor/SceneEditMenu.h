#pragma once
// The list of edited stages (each with its title), then NEW STAGE, a copy of each shipped stage
// (opened in the editor from the data folder and saved as the next free stage) and EXIT, seven
// whole rows at a time between a heading and a line of keys. The pointer's height scrolls it so
// that the top row reaches the first entry and the bottom row the last; the wheel,
// the arrow keys, PageUp/PageDown and Home/End move it too, the keys with a highlight of their
// own. Stage files dropped on the window join the list; Delete removes the lit stage's file. With
// the online records on, P publishes the lit stage when the player has cleared it as it is now.
#include "core/editor/EditedStages.h"
#include "core/editor/ImportQueue.h"
#include "core/editor/MenuScroll.h"
#include "core/stage/Camera.h"
#include "ui/render/TextLabel.h"
#include "ui/scene/FrameContext.h"
#include "ui/scene/SceneBase.h"

#include <memory>
#include <string>
#include <vector>

class SceneMaster;
struct GameSession;

class SceneEditMenu : public Lib::Scene::SceneBase {
public:
    static constexpr float EntrySpacing = 80.0f;
    static constexpr float EntryX = -350.0f;
    static constexpr int ShownRows = 7;
    // The middle of row k of those in sight, in view units: clear of the heading and the keys.
    static constexpr float RowY(int k) { return 234.0f - EntrySpacing * float(k); }
    static constexpr float RowCentre = 9.0f; // an entry's box's middle above its baseline
    static constexpr float RowHalf = 15.0f;  // a little under half an entry's box's height

    SceneEditMenu(SceneMaster* master, GameSession& session);
    void Update() override;
    void Draw() const override;
    bool TakeDrops() override;
    bool TakeEscape() override; // stops an import

    // The lit entry: the keys' while they lead, else the one under the pointer; -1 for none.
    int Hovered() const { return hot_; }
    const Camera& View() const { return camera_; }
    int EntryCount() const { return int(stages_.size() + shipped_.size()) + 2; }
    // Entry i's label while it is in sight, else nullptr: only entries in sight hold glyphs.
    const TextLabel* Entry(int i) const;
    const TextLabel& Progress() const { return *progress_; } // empty while no import runs

private:
    int RowsInSight() const;
    float PointerRow(Vec2 cursor) const;
    float TargetY() const;
    int EntryUnderPointer() const;
    void Steer(int under);
    void Choose(int entry);
    void AskDelete(int entry);
    void Publish(int entry);
    void AddToList(std::vector<EditedStage> added);
    void StopImport();
    void FinishImport();
    void LightEntry(int entry); // as the keys do: lit and brought to the pointer's row
    void ShowEntriesInSight();
    std::unique_ptr<TextLabel> MakeLabel(int entry) const;

    SceneMaster* master_;
    const FrameContext& context_;
    GameSession& session_;
    std::vector<EditedStage> stages_;
    std::vector<std::u16string> shipped_; // the shipped stages' titles
    MenuScroll scroll_;
    Camera camera_ = DefaultCamera;
    int hot_ = -1;
    int keyed_ = -1; // the entry the keys lit; -1 once the pointer moves
    int firstShown_ = 0;
    std::vector<std::unique_ptr<TextLabel>> shown_; // entries firstShown_, firstShown_ + 1, ...
    ImportQueue imports_;
    std::string lastImported_;            // lit when the import ends
    std::unique_ptr<TextLabel> progress_; // how many dropped files are left, while any are
    std::unique_ptr<TextLabel> heading_, hint_;
    std::unique_ptr<TextLabel> publishHint_; // only with the online records on
};
