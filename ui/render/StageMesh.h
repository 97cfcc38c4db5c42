#pragma once
// The stage's picture as vertex lists, built from the stage's tables and kept until they change,
// so a scene that draws the same stage every frame does not rebuild it every frame. The lists
// are a memo of the stage, not state of their own: drawing only reads the stage.
#include "core/stage/Stage.h"
#include "ui/render/Draw.h"

#include <array>

class StageMesh {
public:
    // One draw call per point size and one line list in slot order, so a later line still covers
    // an earlier one where they overlap. The lists are rebuilt first when the points, their
    // states or the lines differ from those they were built from (a compare of a few kilobytes).
    void Draw(const Stage& stage, bool withPoints) const;

private:
    void Build(const Stage& stage) const;

    mutable bool built_ = false;
    mutable std::array<Vec2, MaxPoints> points_{};
    mutable std::array<PointState, MaxPoints> pointState_{};
    mutable std::array<Segment, MaxSegments> segments_{};
    mutable ColorVertexList placed_, selected_, lines_;
};
