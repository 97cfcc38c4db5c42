#include "ui/screens/SceneTable.h"

#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"
#include "ui/editor/SceneEdit.h"
#include "ui/editor/SceneEditMenu.h"
#include "ui/scene/SceneCrossHatch.h"
#include "ui/screens/SceneDemo.h"
#include "ui/screens/SceneGameMain.h"
#include "ui/screens/SceneOptions.h"
#include "ui/screens/SceneStageSelect.h"
#include "ui/screens/SceneTitle.h"

namespace {
template <typename S> std::unique_ptr<Lib::Scene::SceneBase> make(SceneMaster& master) {
    return std::make_unique<S>(&master);
}

template <typename S> std::unique_ptr<Lib::Scene::SceneBase> makeWithSession(SceneMaster& master) {
    return std::make_unique<S>(&master, master.Session());
}

// A test play in edit mode; otherwise the current stage, beside its best run when one is stored.
std::unique_ptr<Lib::Scene::SceneBase> makeGameMain(SceneMaster& master) {
    GameSession& session = master.Session();
    if (session.editMode) // beside the route the editor's check found, when there is one
        return std::make_unique<SceneGameMain>(&master, session, testStagePath(),
                                               pathExists(testGhostPath()) ? std::optional(testGhostPath())
                                                                           : std::nullopt);
    if (!session.ownStageFile.empty()) { // beside its best run, named after what the file holds now
        const std::string path = workingFolderPath() + session.ownStageFile;
        const auto stage = std::make_unique<Stage>();
        loadStage(path, *stage);
        const std::string best = ownReplayFileName(*stage);
        return std::make_unique<SceneGameMain>(&master, session, path,
                                               pathExists(best) ? std::optional(best) : std::nullopt);
    }
    const std::string replay = replayFileName(session.stageNumber);
    return std::make_unique<SceneGameMain>(&master, session, stageFileName(session.stageNumber),
                                           pathExists(replay) ? std::optional<std::string>(replay)
                                                              : std::nullopt);
}

// The edited stage in the working folder, loaded unless it is a new one or a shipped stage's copy.
std::unique_ptr<Lib::Scene::SceneBase> makeEdit(SceneMaster& master) {
    GameSession& session = master.Session();
    const std::string path = workingFolderPath() + session.editFileName;
    return std::make_unique<SceneEdit>(&master, session, path,
                                       session.newStage                 ? std::string()
                                       : session.editSourcePath.empty() ? path
                                                                        : session.editSourcePath);
}
} // namespace

SceneTable GameSceneTable() {
    SceneTable table;
    table[SceneId::CrossHatch] = make<SceneCrossHatch>;
    table[SceneId::Title] = makeWithSession<SceneTitle>;
    table[SceneId::Demo] = make<SceneDemo>;
    table[SceneId::GameMain] = makeGameMain;
    table[SceneId::EditMenu] = makeWithSession<SceneEditMenu>;
    table[SceneId::Edit] = makeEdit;
    table[SceneId::Options] = make<SceneOptions>;
    table[SceneId::StageSelect] = makeWithSession<SceneStageSelect>;
    return table;
}
