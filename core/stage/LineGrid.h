#pragma once
// The stage's lines sorted into a uniform grid, so that a collision test looks only at the lines
// near the bar instead of at all 512 slots. Built from a stage (when it is loaded or changed) and
// answering exactly as Stage::hitLine: the kind of the first crossed line in slot order.
#include "core/stage/Geometry.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

struct Stage;

class LineGrid {
public:
    // PlainScan asks the stage itself, slot by slot: kept so that benchmarks can show the gain.
    enum class Mode { Grid, PlainScan };
    // Lines and bars within this of the origin use the grid; beyond it float steps grow past the
    // cell margin, and such coordinates only come from odd files, so those are simply scanned.
    static constexpr double Reach = 1.0e6;

    LineGrid() = default;
    explicit LineGrid(const Stage& stage, Mode mode = Mode::Grid) { rebuild(stage, mode); }

    // The stage must outlive the grid in PlainScan mode.
    void rebuild(const Stage& stage, Mode mode = Mode::Grid);
    // Kind of the first crossed line in slot order, or -1; the same verdict as Stage::hitLine.
    int hitLine(Vec2 p, Vec2 q) const { return hit(p, q, false); }
    // Whether PQ crosses any wall, whatever the goals.
    bool crossesWall(Vec2 p, Vec2 q) const { return hit(p, q, true) >= 0; }
    // Whether a wall comes closer than `margin` to PQ (crossing it included).
    bool wallNear(Vec2 p, Vec2 q, float margin) const;
    // Whether `accept` holds for a goal PQ crosses (given the goal's ends).
    bool crossesGoal(Vec2 p, Vec2 q, const std::function<bool(Vec2, Vec2)>& accept) const;
    int lineCount() const { return int(lines_.size()); }

private:
    struct Line {
        Vec2 a, b;
        float minX, minY, maxX, maxY; // as the plain scan's box test computes them
        std::int32_t kind;
    };

    int hit(Vec2 p, Vec2 q, bool wallsOnly) const;
    bool covers(Vec2 p, Vec2 q) const; // both ends within the grid's reach
    // Whether `test` holds for a line whose box comes within `margin` of PQ's box.
    template <typename Test> bool anyNear(Vec2 p, Vec2 q, float margin, const Test& test) const;
    // Index of the first of `indices` (ascending) below `end` that PQ crosses, or `end`.
    template <typename Indices>
    int firstCrossed(const Indices& indices, int end, Vec2 p, Vec2 q, bool wallsOnly) const;
    void addToCells(int index, std::vector<std::uint32_t>& pairs) const;
    // Asked four times a collision test, so kept where the compiler can fold them in.
    // A product, not a quotient: a cell one off at a border changes nothing, as every line lies in
    // each cell it passes within CellMargin of. Clamped first, the cut towards zero is the floor.
    int column(double x) const {
        return int(std::clamp((x - originX_) * cellsPerUnit_, 0.0, double(columns_ - 1)));
    }
    int row(double y) const {
        return int(std::clamp((y - originY_) * cellsPerUnit_, 0.0, double(rows_ - 1)));
    }

    const Stage* plain_ = nullptr;         // set in PlainScan mode
    std::vector<Line> lines_;              // the used slots, in slot order
    std::vector<std::uint16_t> loose_;     // lines too far out (or not finite) for the grid: always tested
    std::vector<std::uint32_t> cellStart_; // cell c holds cellLines_[cellStart_[c] .. cellStart_[c + 1])
    std::vector<std::uint16_t> cellLines_; // indices into lines_, ascending within each cell
    double originX_ = 0, originY_ = 0, cellSize_ = 1, cellsPerUnit_ = 1;
    int columns_ = 0, rows_ = 0;
};
