#include "ui/app/MainHandler.h"

#include "ui/screens/SceneTable.h"
#include "ui/system/GameSystem.h"

MainHandler::MainHandler(Lib::Time::Clock clock) : master(*TheGameSystem, clock) {
    master.InstallScenes(GameSceneTable());
    master.PushCreated(master.CreateScene(SceneId::CrossHatch));
}

void MainHandler::StartOver() {
    while (!master.Empty())
        master.PopScene();
    master.PushScene(SceneId::CrossHatch);
}

void MainHandler::Frame() {
    if (!master.Empty())
        master.RunFrame();
    else
        TheGameSystem->QuitRequested = true;
}
