#pragma once
// The last few positions of the bar, newest first. A fixed ring rather than a deque: the bar
// records one every frame of every search branch, and a deque frees and allocates a block every
// few dozen pushes.
#include "core/stage/Geometry.h"

#include <array>
#include <cstddef>

struct TrailSegment {
    Vec2 pivotEnd;
    Vec2 freeEnd;
};

template <std::size_t Capacity> class Trail {
public:
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // i = 0 is the newest; i < size().
    const TrailSegment& operator[](std::size_t i) const { return slots_[(newest_ + i) % Capacity]; }
    const TrailSegment& front() const { return slots_[newest_]; }

    // Once full, the oldest gives way.
    void pushFront(const TrailSegment& s) {
        newest_ = (newest_ + Capacity - 1) % Capacity;
        slots_[newest_] = s;
        if (size_ < Capacity) ++size_;
    }
    void clear() { size_ = 0; }

private:
    std::array<TrailSegment, Capacity> slots_{};
    std::size_t newest_ = 0;
    std::size_t size_ = 0;
};
