#pragma once
// The idling message loop: every pending event goes to the window, then the idle handlers run.
// Idle handlers always ask to be called again, so frames run back to back between events.
#include "ui/platform/Platform.h"

#include <vector>

namespace Lib::System {

class IdleHandler {
public:
    virtual ~IdleHandler() = default;
    virtual bool OnIdle() = 0;
};

class EventTarget {
public:
    virtual ~EventTarget() = default;
    virtual void HandleEvent(const platform::Event& event) = 0;
};

class CIdlingMessageLoop {
public:
    virtual ~CIdlingMessageLoop() = default;

    void AddIdleHandler(IdleHandler* handler) { idleHandlers_.push_back(handler); }
    void RemoveIdleHandler(IdleHandler* handler);
    void SetEventTarget(EventTarget* target) { target_ = target; }

    // Runs until PostQuit; returns its exit code.
    int Run();
    void PostQuit(int exitCode);
    // Calls every idle handler in registration order; always asks to be called again.
    virtual bool OnIdle();

private:
    std::vector<IdleHandler*> idleHandlers_;
    EventTarget* target_ = nullptr;
    bool quitPosted_ = false;
    int exitCode_ = 0;
};

} // namespace Lib::System
