#include "ui/scene/SceneMaster.h"

#include "core/lang/Translate.h"
#include "ui/render/PartialRedraw.h"
#include "ui/system/GameSystem.h"
#include "ui/system/MessageBox.h"

#include <algorithm>

namespace {
// Files dropped where no scene takes them are turned away at once, with a word on where they
// would be taken: kept, they would pile up, or be taken in long after, by surprise.
void refuseDrops() {
    const std::size_t count = TheGameSystem->TakeDrops().size();
    if (count == 0) return;
    ShowMessageBox(withNumber(tr(u"ドロップされた %1 個のファイルは取り込んでいません。\n"
                                 u"ステージのファイルは、タイトルの EDIT で開く\n"
                                 u"一覧にドロップすると取り込めます"),
                              count),
                   u"WARNING", MessageBoxStyle::Ok);
}
} // namespace

void SceneMaster::ExecuteScene(Lib::Scene::SceneBase* scene) {
    if (!scene->TakeDrops()) refuseDrops();
    if (TheGameSystem->active) {
        scene->Update();
        TheGameSystem->pauseRequested = false; // for the scene on top when it came, no later one
    } else {
        scene->StandStill();
    }
    if (timer_.IsOnTime()) {
        TheGameSystem->cameraStack.ResetView();
        ExpectPresentedFrame();
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

std::unique_ptr<Lib::Scene::SceneBase> SceneMaster::CreateScene(int id) {
    if (id < 0 || id >= SceneIdCount || !table_[std::size_t(id)]) return nullptr;
    return table_[std::size_t(id)](*this);
}

void SceneMaster::PushCreated(std::unique_ptr<Lib::Scene::SceneBase> scene) {
    // A request that yields no scene leaves the stack as it is: never a null on the stack.
    if (scene) stack_.push_back(std::move(scene));
}

void SceneMaster::ChangeScene(int id) {
    // Made first, so the new scene is built while the old one still exists; and if none can be
    // made the old scene stays rather than leaving the stack empty by accident.
    std::unique_ptr<Lib::Scene::SceneBase> next = CreateScene(id);
    if (!next) return;
    PopScene();
    stack_.push_back(std::move(next));
}

bool SceneMaster::HoldsUnsavedWork() const {
    return std::any_of(stack_.begin(), stack_.end(),
                       [](const auto& scene) { return scene->HoldsUnsavedWork(); });
}

void SceneMaster::PushScene(int id) {
    PushCreated(CreateScene(id));
}

void SceneMaster::PopScene() {
    if (stack_.empty()) return;
    retired_.push_back(std::move(stack_.back()));
    stack_.pop_back();
}

void SceneMaster::RunFrame() {
    if (!stack_.empty()) ExecuteScene(stack_.back().get());
    // Last retired, first deleted.
    while (!retired_.empty())
        retired_.pop_back();
}

void SceneMaster::DrawTop() {
    if (Lib::Scene::SceneBase* top = Top())
        top->Draw();
    else
        ClearScreen(Colors::Black);
}
