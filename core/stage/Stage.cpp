#include "core/stage/Stage.h"

#include <algorithm>
#include <cmath>

void SlotStack::fillDescending(int last, int first) {
    clear();
    for (int i = last; i >= first; --i)
        push(i);
}

void Stage::clear() {
    pointState.fill(PointState::Free);
    freePoints.fillDescending(MaxPoints - 1, 0);
    for (Segment& s : segments)
        s.kind = FreeSegment;
    freeSegments.fillDescending(MaxSegments - 1, 0);
    title = u"untitled";
    timeLimit = 60;
    initialPivot = {};
    initialAngle = 0.0f;
    startCamera = DefaultCamera;
}

int Stage::addPoint(Vec2 p) {
    if (freePoints.empty()) return -1;
    const int i = freePoints.pop();
    points[i] = p;
    pointState[i] = PointState::Placed;
    return i;
}

int Stage::addSegment(int a, int b, std::int32_t kind) {
    if (freeSegments.empty()) return -1;
    const auto low = std::uint16_t(std::min(std::uint16_t(a), std::uint16_t(b)));
    const auto high = std::uint16_t(std::max(std::uint16_t(a), std::uint16_t(b)));
    for (const Segment& s : segments)
        if ((s.kind == WALL || s.kind == GOAL) && s.low == low && s.high == high) return -1;
    const int j = freeSegments.pop();
    segments[j] = {low, high, kind};
    return j;
}

void Stage::deletePoint(int i) {
    if (!holdsPoint(i)) return; // a second delete would push the slot twice
    for (int j = 0; j < MaxSegments; ++j) {
        const Segment& s = segments[j];
        if (s.kind != FreeSegment && (s.low == i || s.high == i)) deleteSegment(j);
    }
    pointState[i] = PointState::Free;
    freePoints.push(i);
}

void Stage::deleteSegment(int j) {
    if (j < 0 || j >= MaxSegments || segments[j].kind == FreeSegment) return;
    segments[j].kind = FreeSegment;
    freeSegments.push(j);
}

void Stage::deletePointsInRect(const Rect& r) {
    for (int i = 0; i < MaxPoints; ++i)
        if (holdsPoint(i) && r.containsStrictly(points[i])) deletePoint(i);
}

void Stage::toggleSelectionInRect(const Rect& r) {
    for (int i = 0; i < MaxPoints; ++i) {
        if (!holdsPoint(i) || !r.containsStrictly(points[i])) continue;
        pointState[i] = pointState[i] == PointState::Placed ? PointState::Selected : PointState::Placed;
    }
}

void Stage::moveSelected(Vec2 d) {
    for (int i = 0; i < MaxPoints; ++i)
        if (pointState[i] == PointState::Selected) points[i] += d;
}

int Stage::pickPoint(Vec2 p, float zoom) const {
    const float radius = zoom * 10.0f;
    int result = -1;
    for (int i = 0; i < MaxPoints; ++i) {
        if (!holdsPoint(i)) continue;
        const float dx = p.x - points[i].x;
        const float dy = p.y - points[i].y;
        if (std::sqrt(dx * dx + dy * dy) < radius) result = i;
    }
    return result;
}

void Stage::deleteSegmentsCrossing(Vec2 p, Vec2 q) {
    for (int j = 0; j < MaxSegments; ++j) {
        const Segment& s = segments[j];
        if (s.kind != FreeSegment && segmentsIntersect(p, q, points[s.low], points[s.high])) deleteSegment(j);
    }
}

int Stage::hitLine(Vec2 p, Vec2 q) const {
    // A bounding-box rejection first: it never turns a hit into a miss (touching boxes pass),
    // and it skips the exact test for almost every line of a large stage.
    const float minX = std::min(p.x, q.x), maxX = std::max(p.x, q.x);
    const float minY = std::min(p.y, q.y), maxY = std::max(p.y, q.y);
    for (const Segment& s : segments) {
        if (s.kind == FreeSegment) continue;
        const Vec2 a = points[s.low], b = points[s.high];
        if (std::max(a.x, b.x) < minX || std::min(a.x, b.x) > maxX || std::max(a.y, b.y) < minY ||
            std::min(a.y, b.y) > maxY)
            continue;
        if (segmentsIntersect(p, q, a, b)) return s.kind;
    }
    return -1;
}

void Stage::compact() {
    // Points: every used slot moves down to the first free slot below it, in slot order.
    int used = 0;
    for (int j = 0; j < MaxPoints; ++j) {
        if (pointState[j] == PointState::Free) continue;
        const int i = used++;
        if (i != j) {
            points[i] = points[j];
            pointState[i] = pointState[j];
            pointState[j] = PointState::Free;
            for (Segment& s : segments) {
                if (s.kind == FreeSegment) continue;
                const int low = s.low == j ? i : s.low;
                const int high = s.high == j ? i : s.high;
                s.low = std::uint16_t(std::min(low, high));
                s.high = std::uint16_t(std::max(low, high));
            }
        }
    }
    freePoints.fillDescending(MaxPoints - 1, used);

    int lines = 0;
    for (int k = 0; k < MaxSegments; ++k) {
        if (segments[k].kind == FreeSegment) continue;
        const int i = lines++;
        if (i != k) {
            segments[i] = segments[k];
            segments[k].kind = FreeSegment;
        }
    }
    freeSegments.fillDescending(MaxSegments - 1, lines);
}

namespace {
bool sameCompactedTables(const Stage& a, const Stage& b) {
    if (a.pointCount() != b.pointCount() || a.segmentCount() != b.segmentCount()) return false;
    for (int i = 0; i < a.pointCount(); ++i)
        if (!(a.points[i] == b.points[i])) return false;
    for (int j = 0; j < a.segmentCount(); ++j) {
        const Segment &s = a.segments[j], &t = b.segments[j];
        if (s.low != t.low || s.high != t.high || s.kind != t.kind) return false;
    }
    return true;
}
} // namespace

bool sameStageContent(const Stage& a, const Stage& b) {
    if (a.title != b.title || a.timeLimit != b.timeLimit || !(a.initialPivot == b.initialPivot) ||
        a.initialAngle != b.initialAngle || a.startCamera.x != b.startCamera.x ||
        a.startCamera.y != b.startCamera.y || a.startCamera.zoom != b.startCamera.zoom)
        return false;
    Stage x = a, y = b;
    x.compact();
    y.compact();
    return sameCompactedTables(x, y);
}
