#include "ui/system/MessageLoop.h"

#include <algorithm>

namespace Lib::System {

void CIdlingMessageLoop::RemoveIdleHandler(IdleHandler* handler) {
    idleHandlers_.erase(std::remove(idleHandlers_.begin(), idleHandlers_.end(), handler),
                        idleHandlers_.end());
}

int CIdlingMessageLoop::Run() {
    quitPosted_ = false;
    while (!quitPosted_) {
        platform::Event event;
        while (!quitPosted_ && platform::pollEvent(event))
            if (target_) target_->HandleEvent(event);
        if (quitPosted_) break;
        OnIdle();
    }
    return exitCode_;
}

void CIdlingMessageLoop::PostQuit(int exitCode) {
    quitPosted_ = true;
    exitCode_ = exitCode;
}

bool CIdlingMessageLoop::OnIdle() {
    // Copied: a handler may remove itself (the window does when it is destroyed).
    const std::vector<IdleHandler*> handlers = idleHandlers_;
    for (IdleHandler* h : handlers)
        h->OnIdle();
    return true;
}

} // namespace Lib::System
