#include "core/stage/LineGrid.h"

#include "core/stage/Stage.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace {
constexpr double MinCellSize = 64.0; // a bar (60 long) spans at most two cells a side
constexpr int MaxCellsPerSide = 128;
// A line goes into every cell it passes within this distance of: a crossing the exact test
// finds lies on both segments up to rounding far below it, so its cell is always looked at.
constexpr double CellMargin = 1.0;

bool inReach(float v) {
    return std::fabs(v) <= LineGrid::Reach; // false for NaN and the infinities too
}

double pointToSegment(Vec2 p, Vec2 a, Vec2 b) {
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y, wx = double(p.x) - a.x,
                 wy = double(p.y) - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    const double t = lengthSquared > 0 ? std::clamp((wx * dx + wy * dy) / lengthSquared, 0.0, 1.0) : 0.0;
    return std::hypot(wx - t * dx, wy - t * dy);
}

// The whole range 0 .. n-1, for a bar the grid does not cover.
struct AllLines {
    int n;
    struct It {
        int i;
        int operator*() const { return i; }
        It& operator++() { return ++i, *this; }
        bool operator!=(const It& o) const { return i != o.i; }
    };
    It begin() const { return {0}; }
    It end() const { return {n}; }
};
} // namespace

void LineGrid::rebuild(const Stage& stage, Mode mode) {
    plain_ = mode == Mode::PlainScan ? &stage : nullptr;
    lines_.clear();
    loose_.clear();
    cellStart_.clear();
    cellLines_.clear();
    columns_ = rows_ = 0;
    double minX = LineGrid::Reach, minY = LineGrid::Reach, maxX = -LineGrid::Reach, maxY = -LineGrid::Reach;
    for (const Segment& s : stage.segments) {
        if (s.kind == FreeSegment) continue;
        const Vec2 a = stage.points[s.low], b = stage.points[s.high];
        lines_.push_back(
            {a, b, std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y), s.kind});
        if (plain_ || !inReach(a.x) || !inReach(a.y) || !inReach(b.x) || !inReach(b.y)) {
            loose_.push_back(std::uint16_t(lines_.size() - 1));
            continue;
        }
        minX = std::min(minX, double(lines_.back().minX));
        minY = std::min(minY, double(lines_.back().minY));
        maxX = std::max(maxX, double(lines_.back().maxX));
        maxY = std::max(maxY, double(lines_.back().maxY));
    }
    if (loose_.size() == lines_.size()) return; // nothing for the grid
    const double extent = std::max(maxX - minX, maxY - minY) + 2 * CellMargin;
    cellSize_ = std::max(MinCellSize, extent / MaxCellsPerSide);
    cellsPerUnit_ = 1.0 / cellSize_;
    originX_ = minX - CellMargin;
    originY_ = minY - CellMargin;
    columns_ = std::min(MaxCellsPerSide, int((maxX - minX + 2 * CellMargin) / cellSize_) + 1);
    rows_ = std::min(MaxCellsPerSide, int((maxY - minY + 2 * CellMargin) / cellSize_) + 1);

    // (cell, line) pairs, lines ascending; a stable counting sort by cell keeps them ascending.
    std::vector<std::uint32_t> pairs;
    for (int i = 0; i < int(lines_.size()); ++i)
        if (std::find(loose_.begin(), loose_.end(), i) == loose_.end()) addToCells(i, pairs);
    cellStart_.assign(std::size_t(columns_) * rows_ + 1, 0);
    for (std::size_t k = 0; k < pairs.size(); k += 2)
        ++cellStart_[pairs[k] + 1];
    for (std::size_t c = 1; c < cellStart_.size(); ++c)
        cellStart_[c] += cellStart_[c - 1];
    cellLines_.resize(pairs.size() / 2);
    std::vector<std::uint32_t> next(cellStart_.begin(), cellStart_.end() - 1);
    for (std::size_t k = 0; k < pairs.size(); k += 2)
        cellLines_[next[pairs[k]]++] = std::uint16_t(pairs[k + 1]);
}

// Walks the columns the line's box spans; in each, the rows the line passes through there.
void LineGrid::addToCells(int index, std::vector<std::uint32_t>& pairs) const {
    const Line& l = lines_[std::size_t(index)];
    const double ax = l.a.x, ay = l.a.y, dx = double(l.b.x) - ax, dy = double(l.b.y) - ay;
    const int firstColumn = column(l.minX - CellMargin), lastColumn = column(l.maxX + CellMargin);
    for (int cx = firstColumn; cx <= lastColumn; ++cx) {
        double y0 = l.minY, y1 = l.maxY;
        if (dx != 0) {
            const double left = originX_ + cx * cellSize_ - CellMargin;
            const double right = originX_ + (cx + 1) * cellSize_ + CellMargin;
            const double t0 = std::clamp((left - ax) / dx, 0.0, 1.0),
                         t1 = std::clamp((right - ax) / dx, 0.0, 1.0);
            y0 = ay + dy * std::min(t0, t1);
            y1 = ay + dy * std::max(t0, t1);
            if (y0 > y1) std::swap(y0, y1);
        }
        const int firstRow = row(y0 - CellMargin), lastRow = row(y1 + CellMargin);
        for (int cy = firstRow; cy <= lastRow; ++cy) {
            pairs.push_back(std::uint32_t(cy * columns_ + cx));
            pairs.push_back(std::uint32_t(index));
        }
    }
}

template <typename Indices>
int LineGrid::firstCrossed(const Indices& indices, int end, Vec2 p, Vec2 q, bool wallsOnly) const {
    // The same box rejection as the plain scan, so the two can never disagree on a line.
    const float minX = std::min(p.x, q.x), maxX = std::max(p.x, q.x);
    const float minY = std::min(p.y, q.y), maxY = std::max(p.y, q.y);
    for (const auto index : indices) {
        const int i = int(index);
        if (i >= end) break;
        const Line& l = lines_[std::size_t(i)];
        if (wallsOnly && l.kind != WALL) continue;
        if (l.maxX < minX || l.minX > maxX || l.maxY < minY || l.minY > maxY) continue;
        if (segmentsIntersect(p, q, l.a, l.b)) return i;
    }
    return end;
}

bool LineGrid::covers(Vec2 p, Vec2 q) const {
    return columns_ > 0 && inReach(p.x) && inReach(p.y) && inReach(q.x) && inReach(q.y);
}

int LineGrid::hit(Vec2 p, Vec2 q, bool wallsOnly) const {
    if (plain_) {
        if (!wallsOnly) return plain_->hitLine(p, q);
        for (const Line& l : lines_)
            if (l.kind == WALL && segmentsIntersect(p, q, l.a, l.b)) return WALL;
        return -1;
    }
    int best = int(lines_.size());
    if (!covers(p, q)) {
        best = firstCrossed(AllLines{best}, best, p, q, wallsOnly);
    } else {
        if (!loose_.empty()) best = firstCrossed(loose_, best, p, q, wallsOnly);
        const int c0 = column(std::min(p.x, q.x)), c1 = column(std::max(p.x, q.x));
        const int r0 = row(std::min(p.y, q.y)), r1 = row(std::max(p.y, q.y));
        for (int cy = r0; cy <= r1; ++cy)
            for (int cx = c0; cx <= c1; ++cx) {
                // Most cells the bar spans are open floor: passed over before any box is worked out.
                const std::size_t c = std::size_t(cy) * columns_ + cx;
                const std::uint32_t first = cellStart_[c], last = cellStart_[c + 1];
                if (first == last) continue;
                best =
                    firstCrossed(std::span(cellLines_.data() + first, last - first), best, p, q, wallsOnly);
            }
    }
    return best < int(lines_.size()) ? lines_[std::size_t(best)].kind : -1;
}

template <typename Test> bool LineGrid::anyNear(Vec2 p, Vec2 q, float margin, const Test& test) const {
    const Vec2 low{std::min(p.x, q.x) - margin, std::min(p.y, q.y) - margin};
    const Vec2 high{std::max(p.x, q.x) + margin, std::max(p.y, q.y) + margin};
    const auto near = [&](const Line& l) {
        return !(l.maxX < low.x || l.minX > high.x || l.maxY < low.y || l.minY > high.y) && test(l);
    };
    if (!covers(low, high)) return std::any_of(lines_.begin(), lines_.end(), near);
    for (const std::uint16_t i : loose_)
        if (near(lines_[i])) return true;
    const int c0 = column(low.x), c1 = column(high.x), r0 = row(low.y), r1 = row(high.y);
    for (int cy = r0; cy <= r1; ++cy)
        for (int cx = c0; cx <= c1; ++cx) {
            const std::size_t c = std::size_t(cy) * columns_ + cx;
            for (std::uint32_t k = cellStart_[c]; k < cellStart_[c + 1]; ++k)
                if (near(lines_[cellLines_[k]])) return true;
        }
    return false;
}

bool LineGrid::wallNear(Vec2 p, Vec2 q, float margin) const {
    return anyNear(p, q, margin, [&](const Line& l) {
        return l.kind == WALL && (segmentsIntersect(p, q, l.a, l.b) || pointToSegment(p, l.a, l.b) < margin ||
                                  pointToSegment(q, l.a, l.b) < margin ||
                                  pointToSegment(l.a, p, q) < margin || pointToSegment(l.b, p, q) < margin);
    });
}

bool LineGrid::crossesGoal(Vec2 p, Vec2 q, const std::function<bool(Vec2, Vec2)>& accept) const {
    return anyNear(p, q, 0.0f, [&](const Line& l) {
        return l.kind == GOAL && segmentsIntersect(p, q, l.a, l.b) && accept(l.a, l.b);
    });
}
