#pragma once
// How to play: the rules, a blinking prompt, and a bar to try the speed button on.
#include "core/base/Color.h"
#include "core/game/Bar.h"
#include "ui/render/TextLabel.h"
#include "ui/scene/FrameContext.h"
#include "ui/scene/SceneBase.h"

#include <array>
#include <memory>

class SceneMaster;

class SceneDemo : public Lib::Scene::SceneBase {
public:
    static constexpr int LineCount = 7;
    static constexpr int PromptLine = 5;

    explicit SceneDemo(SceneMaster* master);
    void Update() override;
    void Draw() const override;

    bool PromptShown() const { return (counter_ / 45) % 4 != 0; }
    const Bar& DemoBar() const { return bar_; }
    const TextLabel& Line(int i) const { return *labels_[std::size_t(i)]; }

private:
    SceneMaster* master_;
    const FrameContext& context_;
    int counter_ = 0;
    Bar bar_;
    std::array<std::unique_ptr<TextLabel>, LineCount> labels_;
    std::unique_ptr<TextLabel> touch_; // on a touch screen only
    std::unique_ptr<TextLabel> hint_;
};
