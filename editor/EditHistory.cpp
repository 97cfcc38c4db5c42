#include "editor/EditHistory.h"

#include <utility>

namespace {
bool step(std::deque<Stage>& from, std::deque<Stage>& to, Stage& current) {
    if (from.empty()) return false;
    to.push_back(std::move(current));
    current = std::move(from.back());
    from.pop_back();
    return true;
}
} // namespace

void EditHistory::record(const Stage& before) {
    redo_.clear();
    undo_.push_back(before);
    if (undo_.size() > MaxSteps) undo_.pop_front();
}

bool EditHistory::undo(Stage& current) {
    return step(undo_, redo_, current);
}

bool EditHistory::redo(Stage& current) {
    return step(redo_, undo_, current);
}
