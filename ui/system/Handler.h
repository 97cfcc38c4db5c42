#pragma once

namespace Lib::System {

// What the idle turn runs once per turn.
class Handler {
public:
    virtual ~Handler() = default;
    virtual void Frame() = 0;
    // Draws the current picture again without advancing anything (modal boxes draw over it).
    virtual void Redraw() {}
    // A modal box has closed: the time it stood open was no time of the game's.
    virtual void AfterModal() {}
    // Whether ending the game now would lose the player's work.
    virtual bool HoldsUnsavedWork() const { return false; }
    // Offers Escape to the game before it asks about quitting: true when it stopped something.
    virtual bool TakeEscape() { return false; }
    // Where there is no program to end (a page): leaves every screen for the game's opening.
    virtual void StartOver() {}
};

} // namespace Lib::System
