#include "screens/SceneTable.h"

#include "editor/SceneEdit.h"
#include "editor/SceneEditMenu.h"
#include "scene/SceneCrossHatch.h"
#include "screens/SceneDemo.h"
#include "screens/SceneGameMain.h"
#include "screens/SceneTitle.h"
#include "stage/FileLocations.h"

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
    const std::string replay = replayFileName(session.stageNumber);
    return std::make_unique<SceneGameMain>(&master, session, stageFileName(session.stageNumber),
                                           pathExists(replay) ? std::optional<std::string>(replay)
                                                              : std::nullopt);
}

// The edited stage in the working folder, loaded unless it is a new one.
std::unique_ptr<Lib::Scene::SceneBase> makeEdit(SceneMaster& master) {
    GameSession& session = master.Session();
    const std::string path = workingFolderPath() + session.editFileName;
    return std::make_unique<SceneEdit>(&master, session, path, session.newStage ? std::string() : path);
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
    return table;
}
