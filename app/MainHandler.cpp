#include "app/MainHandler.h"

#include "app/GameSystem.h"

MainHandler::MainHandler(Lib::Time::Clock clock) : master(clock) {
    master.PushCreated(master.CreateScene(SceneId::CrossHatch));
}

void MainHandler::Frame() {
    if (!master.Empty())
        master.RunFrame();
    else
        TheGameSystem->QuitRequested = true;
}
