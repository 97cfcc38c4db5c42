#include "core/solver/FrameCounts.h"

namespace {
std::size_t spread(std::uint64_t key) {
    key ^= key >> 33; // the pivot's cells sit in the low bits, the angle in the high ones
    key *= 0xff51afd7ed558ccdULL;
    return std::size_t(key ^ (key >> 33));
}
} // namespace

std::size_t FrameCounts::slotOf(std::uint64_t key) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = spread(key) & mask;
    while (slots_[i].key != key && slots_[i].key != Empty)
        i = (i + 1) & mask;
    return i;
}

bool FrameCounts::wouldImprove(std::uint64_t key, std::int32_t frames) const {
    const Slot& slot = slots_[slotOf(key)];
    return slot.key == Empty || frames < slot.frames;
}

bool FrameCounts::improve(std::uint64_t key, std::int32_t frames) {
    if (2 * (used_ + 1) > slots_.size()) grow();
    Slot& slot = slots_[slotOf(key)];
    if (slot.key != Empty && slot.frames <= frames) return false;
    used_ += slot.key == Empty;
    slot = {key, frames};
    return true;
}

void FrameCounts::clear() {
    slots_.assign(1024, Slot{});
    used_ = 0;
}

void FrameCounts::grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    used_ = 0;
    for (const Slot& slot : old)
        if (slot.key != Empty) improve(slot.key, slot.frames);
}
