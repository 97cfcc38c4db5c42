#pragma once
// The pause's menu: resume, retry the stage, and back to the title (in test play, the editor);
// after three bars lost on one stage, also the guide: the next attempt shows the stage's route;
// with the online records, also the world best's ghost to race from the next attempt on.
// The pointer lights the item it moves over and a click chooses it; the arrows (a gamepad's d-pad)
// step the highlight and Return chooses it, as Z does once the arrows moved it: Z is the pivot key
// and a gamepad's A types it, so a tap meant for the bar never throws the attempt away.
#include "ui/render/TextLabel.h"
#include "ui/scene/FrameContext.h"

#include <array>
#include <memory>
#include <vector>

class PauseMenu {
public:
    enum Item { Resume, Retry, Leave, ShowWay, RaceWorld, ItemCount };
    static constexpr int NoChoice = -1;

    PauseMenu(const FrameContext& context, bool testPlay);
    // Each pause starts on Resume, with Z not yet choosing; ShowWay and RaceWorld are offered or
    // not. On the `lastBar` the retry says that it ends the game, as losing the bar would.
    void Open(bool wayOffered = false, bool lastBar = false, bool raceOffered = false);
    // This turn's choice, or NoChoice.
    int Update();
    void Draw() const;

    int Lit() const { return shown_[std::size_t(lit_)]; }
    int Shown() const { return int(shown_.size()); }
    const TextLabel& ItemLabel(int item) const { return *items_[std::size_t(item)]; }

private:
    const FrameContext& context_;
    std::array<std::unique_ptr<TextLabel>, ItemCount> items_;
    std::vector<int> shown_{Resume, Retry, Leave}; // the items offered, top to bottom
    int lit_ = 0;                                  // in shown_
    bool keyed_ = false;                           // the arrows moved the highlight: Z chooses too
};
