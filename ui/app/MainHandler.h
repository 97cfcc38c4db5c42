#pragma once
#include "ui/scene/SceneMaster.h"
#include "ui/system/Handler.h"

// Runs the scene master once per idle turn; an empty stack ends the game (in a page, where no
// program ends, the window starts it over at the opening).
class MainHandler : public Lib::System::Handler {
public:
    explicit MainHandler(Lib::Time::Clock clock = Lib::Time::SystemClock());
    void Frame() override;
    void Redraw() override { master.DrawTop(); }
    void AfterModal() override { master.FrameTimer().SkipLostTime(); }
    bool HoldsUnsavedWork() const override { return master.HoldsUnsavedWork(); }
    bool TakeEscape() override { return master.Top() && master.Top()->TakeEscape(); }
    void StartOver() override;

    SceneMaster master;
};
