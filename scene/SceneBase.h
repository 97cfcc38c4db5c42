#pragma once
#include <deque>

namespace Lib::Scene {

// A screen of the game: updated once per frame, drawn once per drawn frame. Draw only reads.
class SceneBase {
public:
    virtual ~SceneBase() = default;
    virtual void Update() = 0;
    virtual void Draw() = 0;
};

// Owns the stack of live scenes (top = back) and the scenes retired during the current frame.
class SceneMasterBase {
public:
    virtual ~SceneMasterBase();
    virtual void ExecuteScene(SceneBase* scene) = 0;
    virtual SceneBase* CreateScene(int id) = 0; // a new scene, or nullptr

protected:
    std::deque<SceneBase*> stack_;
    std::deque<SceneBase*> retired_;
};

} // namespace Lib::Scene
