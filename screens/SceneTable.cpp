#include "screens/SceneTable.h"

#include "game/SceneGameMain.h"
#include "scene/GameState.h"
#include "scene/SceneCrossHatch.h"
#include "screens/SceneDemo.h"
#include "screens/SceneTitle.h"
#include "stage/FileLocations.h"

namespace {
template <typename S> std::unique_ptr<Lib::Scene::SceneBase> make(SceneMaster& master) {
    return std::make_unique<S>(&master);
}

// A test play in edit mode; otherwise the current stage, beside its best run when one is stored.
std::unique_ptr<Lib::Scene::SceneBase> makeGameMain(SceneMaster& master) {
    if (EditMode) return std::make_unique<SceneGameMain>(&master, testStagePath(), std::nullopt);
    const std::string replay = replayFileName(StageNumber);
    return std::make_unique<SceneGameMain>(&master, stageFileName(StageNumber),
                                           pathExists(replay) ? std::optional<std::string>(replay)
                                                              : std::nullopt);
}
} // namespace

SceneTable GameSceneTable() {
    SceneTable table;
    table[SceneId::CrossHatch] = make<SceneCrossHatch>;
    table[SceneId::Title] = make<SceneTitle>;
    table[SceneId::Demo] = make<SceneDemo>;
    table[SceneId::GameMain] = makeGameMain;
    return table;
}
