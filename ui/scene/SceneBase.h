#pragma once
#include <deque>
#include <memory>

namespace Lib::Scene {

// A screen of the game: updated once per frame, drawn once per drawn frame. Draw only reads.
class SceneBase {
public:
    virtual ~SceneBase() = default;
    virtual void Update() = 0;
    virtual void Draw() const = 0;
    // Called instead of Update in a turn the window lacks focus: nothing may move, but a scene can
    // show at once that it stands still (play shows its pause) rather than look frozen.
    virtual void StandStill() {}
    // Work the player would lose if the game ended now; the quit question then starts on Cancel.
    virtual bool HoldsUnsavedWork() const { return false; }
    // Escape, before it asks about quitting: true when the scene stopped work in progress with it.
    virtual bool TakeEscape() { return false; }
    // Every frame the scene is on top, with or without focus (a drag from a file manager leaves
    // the focus there): a scene that takes in dropped files moves them out of the system's
    // queue and goes on with those it holds. False where the scene has no use for them.
    virtual bool TakeDrops() { return false; }
};

// Owns the stack of live scenes (top = back) and the scenes retired during the current frame.
class SceneMasterBase {
public:
    // The owner destroys the master while the GameSystem (and the glyph cache the scenes'
    // labels use) still exists.
    virtual ~SceneMasterBase() = default;
    virtual void ExecuteScene(SceneBase* scene) = 0;
    virtual std::unique_ptr<SceneBase> CreateScene(int id) = 0; // a new scene, or none

protected:
    std::deque<std::unique_ptr<SceneBase>> stack_;
    std::deque<std::unique_ptr<SceneBase>> retired_;
};

} // namespace Lib::Scene
