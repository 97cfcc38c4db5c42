#pragma once
#include "app/Timer.h"
#include "scene/SceneBase.h"
#include "scene/SceneId.h"

#include <functional>

class SceneMaster : public Lib::Scene::SceneMasterBase {
public:
    explicit SceneMaster(Lib::Time::Clock clock = Lib::Time::SystemClock()) : timer_(60, clock) {}

    // Update when active, draw when on time, then count the frame.
    void ExecuteScene(Lib::Scene::SceneBase* scene) override;
    Lib::Scene::SceneBase* CreateScene(int id) override;

    // Requests act at once on the two lists; the scene drawn this frame is still the one updated.
    void ChangeScene(int id);
    void PushScene(int id);
    void PopScene();
    // Executes the top scene, then deletes the scenes retired during the frame.
    void RunFrame();
    // Draws the top scene without updating it (for boxes drawn over the picture).
    void DrawTop();
    // Puts a scene on the stack (the first scene, or one made outside CreateScene in tests).
    void PushCreated(Lib::Scene::SceneBase* scene);

    Lib::Time::Timer& FrameTimer() { return timer_; }
    bool Empty() const { return stack_.empty(); }
    std::size_t Depth() const { return stack_.size(); }
    Lib::Scene::SceneBase* Top() const { return stack_.empty() ? nullptr : stack_.back(); }

    // Tests replace what CreateScene makes.
    std::function<Lib::Scene::SceneBase*(SceneMaster&, int)> factory;

private:
    void Present();

    Lib::Time::Timer timer_;
};
