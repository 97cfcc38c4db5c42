#pragma once
// The title: the game's name, a bar turning by itself, and four items chosen with a left press.
#include "game/Bar.h"
#include "render/TextLabel.h"
#include "scene/SceneBase.h"

#include <array>
#include <memory>

class SceneMaster;
struct GameSession;

class SceneTitle : public Lib::Scene::SceneBase {
public:
    enum Item { Start, Edit, ResetAll, Exit, ItemCount };

    SceneTitle(SceneMaster* master, GameSession& session);
    void Update() override;
    void Draw() const override;

    int Hovered() const { return hovered_; }
    const Bar& BackgroundBar() const { return bar_; }
    const TextLabel& MenuLabel(int i) const { return *menu_[std::size_t(i)]; }

private:
    // The items top to bottom, as the arrow keys step through them.
    static constexpr std::array<int, ItemCount> ScreenOrder = {Start, Edit, Exit, ResetAll};
    static int ScreenPlace(int item);
    void Choose(int item);

    SceneMaster* master_;
    GameSession& session_;
    int counter_ = 0;
    Bar bar_;
    int hovered_ = 0; // the highlighted item: under the pointer, or stepped to by the arrows
    std::array<std::unique_ptr<TextLabel>, 2> titles_;
    std::array<std::unique_ptr<TextLabel>, ItemCount> menu_;
};
