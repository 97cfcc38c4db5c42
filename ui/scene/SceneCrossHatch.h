#pragma once
#include "ui/scene/FrameContext.h"
#include "ui/scene/SceneBase.h"

class SceneMaster;

// The opening screen: a grid of thin lines for five seconds or until a left press.
class SceneCrossHatch : public Lib::Scene::SceneBase {
public:
    static constexpr int Duration = 300; // updates before the title follows on its own

    explicit SceneCrossHatch(SceneMaster* master);
    void Update() override;
    void Draw() const override;

private:
    SceneMaster* master_;
    const FrameContext& context_;
    int counter_ = 0;
};
