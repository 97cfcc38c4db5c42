#pragma once
// The list of edited stages, then NEW STAGE and EXIT. It scrolls by itself with the cursor's
// height, so any number of stages can be reached.
#include "render/Camera.h"
#include "render/TextLabel.h"
#include "scene/SceneBase.h"

#include <memory>
#include <string>
#include <vector>

class SceneMaster;

class SceneEditMenu : public Lib::Scene::SceneBase {
public:
    static constexpr float EntrySpacing = 80.0f;
    static constexpr float EntryX = -350.0f;

    explicit SceneEditMenu(SceneMaster* master);
    void Update() override;
    void Draw() override;

    int Hovered() const { return hover_; }
    const Camera& View() const { return camera_; }
    int EntryCount() const { return int(entries_.size()); }
    const TextLabel& Entry(int i) const { return *entries_[std::size_t(i)]; }

private:
    // Where the camera eases to: the top of the screen shows entry 0 at the centre, the bottom
    // shows the end of the list.
    float TargetY() const;
    void Choose(int entry);

    SceneMaster* master_;
    int hover_ = -1;
    Camera camera_ = DefaultCamera;
    int stageCount_;
    std::vector<std::string> names_; // real bytes, even when they are not valid UTF-8
    std::vector<std::unique_ptr<TextLabel>> entries_;
};
