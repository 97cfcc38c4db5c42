#include "scene/SceneMaster.h"

#include "app/GameSystem.h"
#include "editor/SceneEdit.h"
#include "editor/SceneEditMenu.h"
#include "game/SceneGameMain.h"
#include "scene/GameState.h"
#include "scene/SceneCrossHatch.h"
#include "screens/SceneDemo.h"
#include "screens/SceneTitle.h"
#include "stage/FileLocations.h"

namespace Lib::Scene {
SceneMasterBase::~SceneMasterBase() {
    // Deleted while the GameSystem (and the glyph cache the scenes' labels use) still exists.
    for (SceneBase* s : retired_)
        delete s;
    for (SceneBase* s : stack_)
        delete s;
}
} // namespace Lib::Scene

void SceneMaster::ExecuteScene(Lib::Scene::SceneBase* scene) {
    if (TheGameSystem->active) scene->Update();
    if (timer_.IsOnTime()) {
        glDisable(GL_TEXTURE_2D);
        ResetView();
        scene->Draw();
        Present();
    }
    timer_.NextFrame();
}

void SceneMaster::Present() {
    if (TheGameSystem->vsync) {
        TheGameSystem->window->SwapBuffers();
        timer_.WaitForFrame();
    } else {
        timer_.WaitForFrame();
        TheGameSystem->window->SwapBuffers();
    }
}

Lib::Scene::SceneBase* SceneMaster::CreateScene(int id) {
    if (factory) return factory(*this, id);
    switch (id) {
    case SceneId::CrossHatch:
        return new SceneCrossHatch(this);
    case SceneId::Title:
        return new SceneTitle(this);
    case SceneId::Demo:
        return new SceneDemo(this);
    case SceneId::GameMain: {
        if (EditMode) return new SceneGameMain(this, testStagePath(), std::nullopt);
        const std::string replay = replayFileName(StageNumber);
        return new SceneGameMain(this, stageFileName(StageNumber),
                                 pathExists(replay) ? std::optional<std::string>(replay) : std::nullopt);
    }
    case SceneId::EditMenu:
        return new SceneEditMenu(this);
    case SceneId::Edit: {
        const std::string path = workingFolderPath() + EditFileName;
        return new SceneEdit(this, path, NewStage ? std::string() : path);
    }
    default:
        return nullptr;
    }
}

void SceneMaster::PushCreated(Lib::Scene::SceneBase* scene) {
    // A request that yields no scene leaves the stack as it is: never a null on the stack.
    if (scene) stack_.push_back(scene);
}

void SceneMaster::ChangeScene(int id) {
    // Made first, so the new scene is built while the old one still exists; and if none can be
    // made the old scene stays rather than leaving the stack empty by accident.
    Lib::Scene::SceneBase* next = CreateScene(id);
    if (!next) return;
    PopScene();
    stack_.push_back(next);
}

void SceneMaster::PushScene(int id) {
    PushCreated(CreateScene(id));
}

void SceneMaster::PopScene() {
    if (stack_.empty()) return;
    retired_.push_back(stack_.back());
    stack_.pop_back();
}

void SceneMaster::RunFrame() {
    if (!stack_.empty()) ExecuteScene(stack_.back());
    while (!retired_.empty()) {
        delete retired_.back();
        retired_.pop_back();
    }
}

void SceneMaster::DrawTop() {
    if (Lib::Scene::SceneBase* top = Top())
        top->Draw();
    else
        ClearScreen(Colors::Black);
}
