#pragma once
// The stage's picture as vertex lists, built from the stage's tables and kept until they change,
// so a scene that draws the same stage every frame does not rebuild it every frame.
#include "render/Draw.h"
#include "stage/Stage.h"

#include <array>

class StageMesh {
public:
    // Rebuilds the lists when the points, their states or the lines differ from those they were
    // built from (a compare of a few kilobytes); false when nothing had to be rebuilt.
    bool Update(const Stage& stage);
    // One draw call per point size and one line list in slot order, so a later line still covers
    // an earlier one where they overlap.
    void Draw(bool withPoints) const;

private:
    void Build(const Stage& stage);

    bool built_ = false;
    std::array<Vec2, MaxPoints> points_{};
    std::array<PointState, MaxPoints> pointState_{};
    std::array<Segment, MaxSegments> segments_{};
    ColorVertexList placed_, selected_, lines_;
};
