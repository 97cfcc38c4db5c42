#pragma once
// The stage select without its window: three pages, the ten stages, the player's own (edited
// and imported) and the stages players published online (empty until the records server has
// listed them), each ending in EXIT and keeping its own lit entry, and which part of a long page
// is in sight. The ten start lit on the highest reached stage, where a returning player goes on.
#include "core/game/Progress.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A player's own stage as the select lists it: its file in the working folder and its title.
struct OwnStage {
    std::string name;
    std::u16string title;
};

// A stage published on the records server: its content id, title and maker.
struct OnlineStage {
    std::string id;
    std::u16string title;
    std::u16string maker;
};

class StageSelect {
public:
    enum Page { Shipped, Own, Online, PageCount };
    static constexpr int RowsInSight = 10;

    StageSelect(std::vector<StageProgress> shipped, std::vector<OwnStage> own);

    Page page() const { return page_; }
    void showPage(Page page);
    // This page's stages, then EXIT.
    int entryCount() const { return entryCount(page_); }
    int exitEntry() const { return entryCount() - 1; }
    int lit() const { return lit_[page_]; }
    // Lights an entry of this page (clamped) and brings it into sight.
    void light(int entry) { light(page_, entry); }
    // The first of the RowsInSight entries shown.
    int firstInSight() const { return first_[page_]; }
    // A stage that can be played now: a reached one of the ten, or any own or online stage.
    bool playable(int entry) const;
    // Lights the own stage of that file name, when it is listed.
    void lightOwn(const std::string& name);
    // An own stage whose file went away while the select was open.
    void removeOwn(int entry);

    const std::vector<StageProgress>& shipped() const { return shipped_; }
    const std::vector<OwnStage>& own() const { return own_; }
    const std::vector<OnlineStage>& online() const { return online_; }
    // The published stages as the server listed them; the page's highlight stays in range.
    void setOnline(std::vector<OnlineStage> stages);
    // The best time of own stage `entry`, read and verified the first time it is asked for, so
    // a page of thousands reads only the stages brought into sight.
    std::int32_t ownBest(int entry);

private:
    int entryCount(Page page) const;
    void light(Page page, int entry);

    Page page_ = Shipped;
    std::vector<StageProgress> shipped_;
    std::vector<OwnStage> own_;
    std::vector<OnlineStage> online_;
    std::vector<std::optional<std::int32_t>> ownBests_;
    int lit_[PageCount] = {};
    int first_[PageCount] = {};
};

// The best time of the own stage in `path`, from its content-named best run; -1 for none or for
// a stage that cannot be read.
std::int32_t ownStageBest(const std::string& path);
