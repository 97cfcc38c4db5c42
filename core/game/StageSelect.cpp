#include "core/game/StageSelect.h"

#include "core/game/BestRun.h"
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"

#include <algorithm>
#include <memory>

StageSelect::StageSelect(std::vector<StageProgress> shipped, std::vector<OwnStage> own)
    : shipped_(std::move(shipped)), own_(std::move(own)), ownBests_(own_.size()) {
    light(highestReached(shipped_));
}

void StageSelect::showPage(Page page) {
    page_ = page;
}

int StageSelect::entryCount(Page page) const {
    return int(page == Shipped ? shipped_.size() : page == Own ? own_.size() : online_.size()) + 1;
}

void StageSelect::light(Page page, int entry) {
    const int count = entryCount(page);
    const int lit = std::clamp(entry, 0, count - 1);
    lit_[page] = lit;
    int& first = first_[page];
    if (lit < first) first = lit;
    if (lit >= first + RowsInSight) first = lit - RowsInSight + 1;
    first = std::clamp(first, 0, std::max(0, count - RowsInSight));
}

bool StageSelect::playable(int entry) const {
    if (entry < 0 || entry >= exitEntry()) return false;
    return page_ != Shipped || shipped_[std::size_t(entry)].reached;
}

void StageSelect::lightOwn(const std::string& name) {
    const auto found =
        std::find_if(own_.begin(), own_.end(), [&](const OwnStage& s) { return s.name == name; });
    if (found != own_.end()) light(Own, int(found - own_.begin()));
}

void StageSelect::setOnline(std::vector<OnlineStage> stages) {
    online_ = std::move(stages);
    light(Online, lit_[Online]);
}

void StageSelect::removeOwn(int entry) {
    if (entry < 0 || entry >= int(own_.size())) return;
    own_.erase(own_.begin() + entry);
    ownBests_.erase(ownBests_.begin() + entry);
    light(Own, lit_[Own]); // the entry after it moved up under the highlight
}

std::int32_t StageSelect::ownBest(int entry) {
    if (entry < 0 || entry >= int(own_.size())) return -1;
    std::optional<std::int32_t>& best = ownBests_[std::size_t(entry)];
    if (!best) best = ownStageBest(workingFolderPath() + own_[std::size_t(entry)].name);
    return *best;
}

std::int32_t ownStageBest(const std::string& path) {
    const auto stage = std::make_unique<Stage>();
    std::error_code error;
    loadStage(path, *stage, &error);
    if (error) return -1;
    std::string problem;
    const auto best = loadBestRun(ownReplayFileName(*stage), *stage, problem);
    return best ? best->total() : -1;
}
