#include "ui/system/GameWindow.h"

#include "core/game/BarIcon.h"
#include "core/lang/Translate.h"
#include "ui/sound/Sound.h"
#include "ui/system/GameSystem.h"
#include "ui/system/MessageBox.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace Lib::System {

bool CGameWindow::Create(CIdlingMessageLoop& loop) {
    loop_ = &loop;
    if (!platform::createWindow("TWIRLSTICK", system_->baseWidth, system_->baseHeight)) return false;
    if (platform::showsWindowIcon())
        platform::setWindowIcon(drawBarIcon(WindowIconSize).data(), WindowIconSize);
    SetupContext();
    GLint dims[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
    LimitSurface(surfaceSideLimit(dims[0], dims[1]));
    loop.AddIdleHandler(this);
    loop.SetEventTarget(this);
    return true;
}

void CGameWindow::SetupContext() {
    // Not fatal: Debian's GLEW answers GLEW_ERROR_NO_GLX_DISPLAY on a native Wayland (EGL)
    // context, while the GL 1.1 entry points the game uses still work.
    if (const GLenum err = glewInit(); err != GLEW_OK)
        std::fprintf(stderr, "twirlstick: glewInit: %s (continuing)\n", glewGetErrorString(err));
    if (system_->vsync) platform::setSwapInterval(1);
}

void CGameWindow::LimitSurface(int side) {
    surfaceLimit_ = side;
    platform::setWindowSizeLimit(side);
    TakeDrawableSize();
    ApplyViewport();
}

void CGameWindow::TakeDrawableSize() {
    int w = system_->viewWidth, h = system_->viewHeight;
    platform::drawableSize(w, h);
    if (w > 0 && h > 0) { // a window not yet shrunk back is drawn in its corner meanwhile
        system_->viewWidth = std::min(w, surfaceLimit_);
        system_->viewHeight = std::min(h, surfaceLimit_);
    }
}

void CGameWindow::ApplyViewport() {
    const Viewport v =
        ComputeViewport(system_->viewWidth, system_->viewHeight, system_->baseWidth, system_->baseHeight);
    system_->scale = v.scale;
    // The whole client first, so the letterbox bars are black in both buffers.
    glViewport(0, 0, system_->viewWidth, system_->viewHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    platform::swapWindow();
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(v.x, v.y, v.width, v.height);
    for (GLenum mode : {GL_MODELVIEW, GL_PROJECTION, GL_TEXTURE}) {
        glMatrixMode(mode);
        glLoadIdentity();
    }
#ifndef __EMSCRIPTEN__ // WebGL has neither: the browser's console would report each as a fault
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
#endif
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
}

void CGameWindow::ToggleFullScreen() {
    fullScreen_ = !fullScreen_;
    platform::setDesktopFullscreen(fullScreen_, system_->baseWidth, system_->baseHeight);
    TakeDrawableSize();
    ApplyViewport();
}

void CGameWindow::HandleEvent(const platform::Event& event) {
    using platform::EventKind;
    switch (event.kind) {
    case EventKind::Wheel:
        system_->wheelAccumulator += std::int32_t(std::lround(event.wheelY * 120.0f));
        break;
    case EventKind::MouseButtonDown:
        system_->ButtonPressed(event.button);
        break;
    case EventKind::KeyDown:
        if (event.ctrl && !event.repeat && event.key != platform::Key::Other)
            system_->pendingChords.push_back({event.key, event.shift});
        if (!event.ctrl && !event.alt && (event.key != platform::Key::Other || event.pivot))
            system_->pendingPresses.push_back({event.key, event.shift, event.repeat, event.pivot});
        if (event.key == platform::Key::Escape && !event.repeat) {
            if (!system_->handler || !system_->handler->TakeEscape()) RequestClose();
        } else if (!event.repeat &&
                   ((event.key == platform::Key::Return && event.alt) || event.key == platform::Key::F11))
            ToggleFullScreen();
        break;
    case EventKind::DropFile:
        system_->pendingDrops.push_back(event.text);
        break;
    case EventKind::FileArrived:
        TakeArrivedSound(event.text);
        if (event.text == FontPath && system_->glyphCache) system_->glyphCache->UseFont(event.text);
        break;
    case EventKind::CloseRequest:
        RequestClose();
        break;
    case EventKind::Terminate:
        system_->QuitRequested = true;
        break;
    case EventKind::FocusGained:
        system_->active = true;
        break;
    case EventKind::FocusLost:
        system_->active = false;
        system_->pauseRequested = true;
        platform::releaseLatchedInput(); // sound plays on outside play; play holds its own (StandStill)
        system_->ReleaseHeldButtons();
        break;
    case EventKind::GamepadRemoved:
        system_->pauseRequested = true;
        break;
    case EventKind::Resized: // the window manager may finish a full-screen switch later
        TakeDrawableSize();
        ApplyViewport();
        break;
    default:
        break;
    }
}

void CGameWindow::RequestClose() {
    const bool losesWork = system_->handler && system_->handler->HoldsUnsavedWork();
    const MessageBoxStyle style =
        losesWork ? MessageBoxStyle::OkCancelDefaultCancel : MessageBoxStyle::OkCancel;
    // The specified question, unless quitting would drop the editor's unsaved work: then it says so.
    const std::u16string question =
        losesWork ? tr(u"保存していない変更があります\n保存せずにゲームを終了しますか？")
                  : tr(u"ゲームを終了しますか？");
    if (ShowMessageBox(question, u"Quit", style) == MessageBoxResult::Ok) system_->QuitRequested = true;
}

bool CGameWindow::OnIdle() {
    system_->PollInput();
    if (system_->handler) {
        system_->handler->Frame();
        platform::holdUnsavedWork(system_->handler->HoldsUnsavedWork());
    }
    if (system_->QuitRequested && !platform::endsProgram() && system_->handler) {
        system_->QuitRequested = false; // a page has no program to end: its game starts over
        system_->handler->StartOver();
    }
    if (system_->QuitRequested) DestroyWindow();
    return false;
}

void CGameWindow::DestroyWindow() {
    if (!platform::hasWindow()) return;
    platform::destroyWindow();
    if (loop_) {
        loop_->RemoveIdleHandler(this);
        loop_->PostQuit(0);
    }
}

void CGameWindow::SwapBuffers() {
    platform::swapWindow();
}

} // namespace Lib::System
