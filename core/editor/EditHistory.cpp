#include "core/editor/EditHistory.h"

#include <utility>

std::size_t EditHistory::footprint(const Stage& stage) {
    return sizeof(Stage) + (stage.title.capacity() + 1) * sizeof(char16_t);
}

bool EditHistory::step(std::deque<Stage>& from, std::deque<Stage>& to, Stage& current) {
    if (from.empty()) return false;
    bytes_ += footprint(current);
    to.push_back(std::move(current));
    current = std::move(from.back());
    from.pop_back();
    bytes_ -= footprint(current);
    return true;
}

void EditHistory::record(const Stage& before) {
    for (const Stage& s : redo_)
        bytes_ -= footprint(s);
    redo_.clear();
    undo_.push_back(before);
    bytes_ += footprint(undo_.back());
    while (!undo_.empty() && (undo_.size() > MaxSteps || bytes_ > MaxBytes)) {
        bytes_ -= footprint(undo_.front());
        undo_.pop_front();
    }
}

bool EditHistory::undo(Stage& current) {
    return step(undo_, redo_, current);
}

bool EditHistory::redo(Stage& current) {
    return step(redo_, undo_, current);
}
