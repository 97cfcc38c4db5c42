#pragma once
// The title: the game's name, a bar turning by itself, and its items chosen with a left press.
#include "core/game/Bar.h"
#include "ui/render/PartialRedraw.h"
#include "ui/render/TextLabel.h"
#include "ui/scene/FrameContext.h"
#include "ui/scene/SceneBase.h"

#include <array>
#include <memory>
#include <string>

class SceneMaster;
struct GameSession;

class SceneTitle : public Lib::Scene::SceneBase {
public:
    enum Item { Start, Edit, ResetAll, Exit, Options, Select, ItemCount };

    SceneTitle(SceneMaster* master, GameSession& session);
    void Update() override;
    void Draw() const override;

    int Hovered() const { return hovered_; }
    const Bar& BackgroundBar() const { return bar_; }
    const TextLabel& MenuLabel(int i) const { return *menu_[std::size_t(i)]; }

private:
    // The items top to bottom, as the arrow keys step through them.
    static constexpr std::array<int, ItemCount> ScreenOrder = {Select, Start, Edit, Exit, Options, ResetAll};
    static int ScreenPlace(int item);
    void MakeMenu();
    bool OfferLinkedStage(); // true: the player took it and play has begun
    void Open(int scene);    // the next scene, with the sound of a choice
    void Choose(int item);

    SceneMaster* master_;
    const FrameContext& context_;
    GameSession& session_;
    int counter_ = 0;
    Bar bar_;
    int hovered_ = 0;      // the highlighted item: under the pointer, or stepped to by the arrows
    bool keyed_ = false;   // the arrows lit hovered_; false once the pointer moves
    std::string language_; // the one the menu's texts were made in
    std::array<std::unique_ptr<TextLabel>, 2> titles_;
    std::array<std::unique_ptr<TextLabel>, ItemCount> menu_;
    mutable PartialRedraw redraw_; // a memo of the frames drawn, not state of the title
};
