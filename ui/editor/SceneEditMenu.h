#pragma once
// The list of edited stages (each with its title), then NEW STAGE and EXIT. The pointer's height
// scrolls it so that the top row reaches the first entry and the bottom row the last; the wheel,
// the arrow keys, PageUp/PageDown and Home/End move it too, the keys with a highlight of their
// own. Stage files dropped on the window join the list; Delete removes the lit stage's file.
#include "editor/EditedStages.h"
#include "editor/MenuScroll.h"
#include "render/TextLabel.h"
#include "scene/SceneBase.h"
#include "stage/Camera.h"

#include <memory>
#include <string>
#include <vector>

class SceneMaster;
struct GameSession;

class SceneEditMenu : public Lib::Scene::SceneBase {
public:
    static constexpr float EntrySpacing = 80.0f;
    static constexpr float EntryX = -350.0f;

    SceneEditMenu(SceneMaster* master, GameSession& session);
    void Update() override;
    void Draw() const override;

    // The lit entry: the keys' while they lead, else the one under the pointer; -1 for none.
    int Hovered() const { return hot_; }
    const Camera& View() const { return camera_; }
    int EntryCount() const { return int(stages_.size()) + 2; }
    // Entry i's label while it is in sight, else nullptr: only entries in sight hold glyphs.
    const TextLabel* Entry(int i) const;

private:
    float PointerRow(Vec2 cursor) const;
    float TargetY() const;
    int EntryUnderPointer() const;
    void Steer(int under);
    void Choose(int entry);
    void AskDelete(int entry);
    void TakeDroppedFiles();
    void LightEntry(int entry); // as the keys do: lit and brought to the pointer's row
    void ShowEntriesInSight();
    std::unique_ptr<TextLabel> MakeLabel(int entry) const;

    SceneMaster* master_;
    GameSession& session_;
    std::vector<EditedStage> stages_;
    MenuScroll scroll_;
    Camera camera_ = DefaultCamera;
    int hot_ = -1;
    int keyed_ = -1; // the entry the keys lit; -1 once the pointer moves
    int firstShown_ = 0;
    std::vector<std::unique_ptr<TextLabel>> shown_; // entries firstShown_, firstShown_ + 1, ...
    // Dropped files not yet taken in, and why some of those taken were refused: one box at the end.
    std::vector<std::string> importQueue_;
    std::size_t importNext_ = 0;
    std::vector<RefusedFile> refused_;
    StageImporter importer_;
};
