#pragma once
// The stage: fixed tables of points and lines with stacks of free slots, plus the stage's
// title, time limit, start and start camera. Headless: ui/render/StageMesh.h draws it.
#include "core/stage/Camera.h"
#include "core/stage/Geometry.h"

#include <array>
#include <cstdint>
#include <string>

inline constexpr int MaxPoints = 512;
inline constexpr int MaxSegments = 512;

enum class PointState : std::int32_t { Free = 0, Placed = 1, Selected = 2 };

// Line kinds; the value is also the keyword's index in the stage file ("WALL", "GOAL").
enum SegmentKind : std::int32_t { WALL = 0, GOAL = 1 };
inline constexpr std::int32_t FreeSegment = -1;

struct Segment {
    std::uint16_t low = 0; // always the smaller point number
    std::uint16_t high = 0;
    std::int32_t kind = FreeSegment;
};

// A stack of slot numbers with room for every slot, so pushing never allocates.
class SlotStack {
public:
    void clear() { count_ = 0; }
    bool empty() const { return count_ == 0; }
    int size() const { return count_; }
    void push(std::int32_t slot) {
        if (count_ < MaxPoints) items_[count_++] = slot;
    }
    std::int32_t pop() { return items_[--count_]; }
    std::int32_t top() const { return items_[count_ - 1]; }
    // Pushes last, last-1, ..., first so that `first` is on top.
    void fillDescending(int last, int first);

private:
    std::array<std::int32_t, MaxPoints> items_{};
    int count_ = 0;
};

struct Stage {
    std::array<Vec2, MaxPoints> points{};
    std::array<PointState, MaxPoints> pointState{};
    SlotStack freePoints;
    std::array<Segment, MaxSegments> segments{};
    SlotStack freeSegments;
    std::u16string title = u"untitled";
    std::int32_t timeLimit = 60; // seconds
    Vec2 initialPivot{};
    float initialAngle = 0.0f; // radians
    Camera startCamera = DefaultCamera;

    Stage() { clear(); }

    void clear();
    int addPoint(Vec2 p);                            // slot, or -1 when full
    int addSegment(int a, int b, std::int32_t kind); // slot, or -1 when full or duplicate
    void deletePoint(int i);
    void deleteSegment(int j);
    void deletePointsInRect(const Rect& r);
    void toggleSelectionInRect(const Rect& r);
    void moveSelected(Vec2 d);
    int pickPoint(Vec2 p, float zoom) const; // highest slot within 10 * zoom, or -1
    void deleteSegmentsCrossing(Vec2 p, Vec2 q);
    int hitLine(Vec2 p, Vec2 q) const; // kind of the first crossed line in slot order, or -1
    void compact();

    bool holdsPoint(int i) const { return i >= 0 && i < MaxPoints && pointState[i] != PointState::Free; }
    int pointCount() const { return MaxPoints - freePoints.size(); }
    int segmentCount() const { return MaxSegments - freeSegments.size(); }
};

// True when both stages would be saved as the same file: the same points, lines, title, limit,
// start and start camera. Slot numbering and which points are selected do not count.
bool sameStageContent(const Stage& a, const Stage& b);
