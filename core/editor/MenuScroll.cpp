#include "core/editor/MenuScroll.h"

#include <algorithm>
#include <cmath>

MenuScroll::MenuScroll(int count, float row) : count_(std::max(count, 1)) {
    at_ = double(std::clamp(row, 0.0f, 1.0f)) * Last();
}

void MenuScroll::Follow(float fromRow, float toRow) {
    const double from = std::clamp(fromRow, 0.0f, 1.0f), to = std::clamp(toRow, 0.0f, 1.0f);
    // The edges are set outright: the proportions below would only come near them.
    if (to >= 1.0)
        at_ = Last();
    else if (to <= 0.0)
        at_ = 0.0;
    else if (to > from)
        at_ += (to - from) / (1.0 - from) * (Last() - at_);
    else if (to < from)
        at_ -= (from - to) / from * at_;
}

void MenuScroll::Show(int entry) {
    at_ = std::clamp(entry, 0, Last());
}

int MenuScroll::FirstInSight(float row, int rows) const {
    const int shown = std::clamp(rows, 1, count_);
    const int slot = int(std::lround(std::clamp(row, 0.0f, 1.0f) * float(shown - 1)));
    return std::clamp(Nearest() - slot, 0, count_ - shown);
}

void MenuScroll::SetCount(int count) {
    count_ = std::max(count, 1);
    at_ = std::min(at_, double(Last()));
}
