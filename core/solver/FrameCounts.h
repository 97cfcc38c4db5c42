#pragma once
// The fewest frames a route search has reached each state in, by state key: an open-addressing
// table, since the search asks it for every state it offers and a node-based map spends most of
// that time allocating and chasing pointers.
#include <cstdint>
#include <vector>

class FrameCounts {
public:
    // Keeps `frames` for `key` unless as few or fewer are kept already; whether it was kept.
    bool improve(std::uint64_t key, std::int32_t frames);
    // Whether improve() would keep them, keeping nothing.
    bool wouldImprove(std::uint64_t key, std::int32_t frames) const;
    void clear();

private:
    // No state key has every bit set: the angle bin never fills its bits.
    static constexpr std::uint64_t Empty = ~std::uint64_t(0);
    struct Slot {
        std::uint64_t key = Empty;
        std::int32_t frames = 0;
    };
    std::size_t slotOf(std::uint64_t key) const; // its slot, or the empty one where it would go
    void grow();
    std::vector<Slot> slots_ = std::vector<Slot>(1024);
    std::size_t used_ = 0;
};
