#pragma once
#include "core/game/Timer.h"
#include "core/play/GameSession.h"
#include "ui/scene/FrameContext.h"
#include "ui/scene/SceneBase.h"
#include "ui/scene/SceneId.h"
#include "ui/system/SystemClock.h"

#include <array>
#include <functional>
#include <memory>

class GameSystem;
class SceneMaster;

// Makes the scene of one id; an empty row means the id has no scene.
using SceneCreator = std::function<std::unique_ptr<Lib::Scene::SceneBase>(SceneMaster&)>;
using SceneTable = std::array<SceneCreator, SceneIdCount>;

class SceneMaster : public Lib::Scene::SceneMasterBase {
public:
    // Runs scenes on `system` (its input, window and glyphs), which outlives the master.
    explicit SceneMaster(GameSystem& system, Lib::Time::Clock clock = Lib::Time::SystemClock());

    // The game installs its table at start-up; tests install scenes of their own.
    void InstallScenes(SceneTable table) { table_ = std::move(table); }

    // Drops to the scene (or turned away), update when active, draw when on time, then count
    // the frame.
    void ExecuteScene(Lib::Scene::SceneBase* scene) override;
    std::unique_ptr<Lib::Scene::SceneBase> CreateScene(int id) override;

    // Requests act at once on the two lists; the scene drawn this frame is still the one updated.
    void ChangeScene(int id);
    void PushScene(int id);
    void PopScene();
    // Executes the top scene, then deletes the scenes retired during the frame.
    void RunFrame();
    // Draws the top scene without updating it (for boxes drawn over the picture).
    void DrawTop();
    // Puts a scene on the stack (the first scene, or one made outside CreateScene in tests).
    void PushCreated(std::unique_ptr<Lib::Scene::SceneBase> scene);

    Lib::Time::Timer& FrameTimer() { return timer_; }
    // The state that outlives a scene, for the scene table to hand to the scenes it makes.
    GameSession& Session() { return session_; }
    // What the scenes made here work with.
    const FrameContext& Context() const { return context_; }
    bool Empty() const { return stack_.empty(); }
    std::size_t Depth() const { return stack_.size(); }
    Lib::Scene::SceneBase* Top() const { return stack_.empty() ? nullptr : stack_.back().get(); }
    // Any scene of the stack: the editor's work waits below its test play.
    bool HoldsUnsavedWork() const;

private:
    void Present();

    GameSystem& system_;
    Lib::Time::Timer timer_;
    SceneTable table_;
    GameSession session_;
    FrameContext context_; // over system_ and session_, so it comes after them
};
