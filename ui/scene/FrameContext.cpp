#include "ui/scene/FrameContext.h"

#include "ui/system/GameSystem.h"

FrameContext frameContextOf(GameSystem& system, GameSession& session) {
    return {system.keyState,     system.mouseState,  system.pauseRequested,
            system.pendingDrops, *system.glyphCache, system.cameraStack,
            *system.window,      system.settings,    session,
            system.viewWidth,    system.viewHeight,  system.scale,
            system.online};
}
