#include "core/editor/ImportQueue.h"

#include <utility>

void ImportQueue::Add(const std::vector<std::string>& paths) {
    paths_.insert(paths_.end(), paths.begin(), paths.end());
}

std::vector<EditedStage> ImportQueue::Step(const std::function<bool()>& timeLeft) {
    StageImport done;
    bool copied = false;
    for (int looks = 0; looks < LooksPerStep && next_ < paths_.size() && (!copied || timeLeft()); ++looks)
        copied = importer_.Import(paths_[next_++], done) || copied;
    report_.refusedCount += done.refused.size();
    for (RefusedFile& refused : done.refused)
        if (report_.refused.size() < RefusalsKept) report_.refused.push_back(std::move(refused));
    if (next_ == paths_.size()) {
        paths_.clear();
        next_ = 0;
    }
    return std::move(done.added);
}

void ImportQueue::Stop() {
    report_.stopped += Left();
    paths_.clear();
    next_ = 0;
}

ImportReport ImportQueue::TakeReport() {
    return Left() == 0 ? std::exchange(report_, {}) : ImportReport{};
}
