#include "screens/SceneTable.h"

#include "editor/SceneEdit.h"
#include "editor/SceneEditMenu.h"
#include "scene/GameState.h"
#include "scene/SceneCrossHatch.h"
#include "screens/SceneDemo.h"
#include "screens/SceneGameMain.h"
#include "screens/SceneStageSelect.h"
#include "screens/SceneTitle.h"
#include "stage/FileLocations.h"
#include "stage/StageFile.h"

namespace {
template <typename S> std::unique_ptr<Lib::Scene::SceneBase> make(SceneMaster& master) {
    return std::make_unique<S>(&master);
}

// A test play in edit mode; otherwise the current stage, beside its best run when one is stored.
std::unique_ptr<Lib::Scene::SceneBase> makeGameMain(SceneMaster& master) {
    if (EditMode) // beside the route the editor's check found, when there is one
        return std::make_unique<SceneGameMain>(&master, testStagePath(),
                                               pathExists(testGhostPath()) ? std::optional(testGhostPath())
                                                                           : std::nullopt);
    if (!OwnStageFile.empty()) { // beside its best run, named after what the file holds now
        const std::string path = workingFolderPath() + OwnStageFile;
        const auto stage = std::make_unique<Stage>();
        loadStage(path, *stage);
        const std::string best = ownReplayFileName(*stage);
        return std::make_unique<SceneGameMain>(&master, path,
                                               pathExists(best) ? std::optional(best) : std::nullopt);
    }
    const std::string replay = replayFileName(StageNumber);
    return std::make_unique<SceneGameMain>(&master, stageFileName(StageNumber),
                                           pathExists(replay) ? std::optional<std::string>(replay)
                                                              : std::nullopt);
}

// The edited stage in the working folder, loaded unless it is a new one or a shipped stage's copy.
std::unique_ptr<Lib::Scene::SceneBase> makeEdit(SceneMaster& master) {
    const std::string path = workingFolderPath() + EditFileName;
    return std::make_unique<SceneEdit>(&master, path,
                                       NewStage                 ? std::string()
                                       : EditSourcePath.empty() ? path
                                                                : EditSourcePath);
}
} // namespace

SceneTable GameSceneTable() {
    SceneTable table;
    table[SceneId::CrossHatch] = make<SceneCrossHatch>;
    table[SceneId::Title] = make<SceneTitle>;
    table[SceneId::Demo] = make<SceneDemo>;
    table[SceneId::GameMain] = makeGameMain;
    table[SceneId::EditMenu] = make<SceneEditMenu>;
    table[SceneId::Edit] = makeEdit;
    table[SceneId::StageSelect] = make<SceneStageSelect>;
    return table;
}
