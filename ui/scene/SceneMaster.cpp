#include "ui/scene/SceneMaster.h"

#include "core/lang/Translate.h"
#include "ui/render/PartialRedraw.h"
#include "ui/system/GameSystem.h"
#include "ui/system/MessageBox.h"

#include <algorithm>

namespace {
// Files dropped where no scene takes them are turned away at once, with a word on where they
// would be taken: kept, they would pile up, or be taken in long after, by surprise.
void refuseDrops(const FrameContext& context) {
    const std::size_t count = context.TakeDrops().size();
    if (count == 0) return;
    ShowMessageBox(withNumber(tr(u"ドロップされた %1 個のファイルは取り込んでいません。\n"
                                 u"ステージのファイルは、タイトルの EDIT で開く\n"
                                 u"一覧にドロップすると取り込めます"),
                              count),
                   u"WARNING", MessageBoxStyle::Ok);
}
} // namespace

SceneMaster::SceneMaster(GameSystem& system, Lib::Time::Clock clock)
    : system_(system), timer_(60, clock), context_(frameContextOf(system, session_)) {}

void SceneMaster::ExecuteScene(Lib::Scene::SceneBase* scene) {
    if (!scene->TakeDrops()) refuseDrops(context_);
    system_.online.Pump(*system_.glyphCache);
    if (system_.active) {
        scene->Update();
        system_.pauseRequested = false; // for the scene on top when it came, no later one
        if (Top() != scene) system_.PassOnLaterPresses();
    } else {
        scene->StandStill();
    }
    if (timer_.IsOnTime()) {
        system_.cameraStack.ResetView();
        // The status line goes over the scene's picture: a frame with it is not the scene's alone.
        if (!system_.online.StatusShown()) ExpectPresentedFrame();
        scene->Draw();
        system_.online.DrawStatus();
        Present();
    }
    timer_.NextFrame();
}

void SceneMaster::Present() {
    if (system_.vsync) {
        system_.window->SwapBuffers();
        timer_.WaitForFrame();
    } else {
        timer_.WaitForFrame();
        system_.window->SwapBuffers();
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
