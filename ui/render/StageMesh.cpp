// The stage's picture: StageMesh builds it from the tables and draws it in a handful of calls.
#include "ui/render/StageMesh.h"

#include <cstring>

namespace {
template <class T, std::size_t N> bool sameBytes(const std::array<T, N>& a, const std::array<T, N>& b) {
    return std::memcmp(a.data(), b.data(), sizeof(T) * N) == 0;
}
} // namespace

void StageMesh::Build(const Stage& stage) const {
    built_ = true;
    points_ = stage.points;
    pointState_ = stage.pointState;
    segments_ = stage.segments;
    placed_.clear();
    selected_.clear();
    lines_.clear();
    for (int i = 0; i < MaxPoints; ++i) {
        if (stage.pointState[i] == PointState::Free) continue;
        const Vec2 p = stage.points[i];
        if (stage.pointState[i] == PointState::Selected)
            selected_.push_back({255, 255, 0, 255, p.x, p.y});
        else
            placed_.push_back({255, 255, 255, 255, p.x, p.y});
    }
    for (const Segment& s : stage.segments) {
        if (s.kind != WALL && s.kind != GOAL) continue;
        if (!stage.holdsPoint(s.low) || !stage.holdsPoint(s.high)) continue;
        const std::uint8_t g = s.kind == GOAL ? 0 : 255;
        lines_.push_back({255, g, g, 255, stage.points[s.low].x, stage.points[s.low].y});
        lines_.push_back({255, g, g, 255, stage.points[s.high].x, stage.points[s.high].y});
    }
}

void StageMesh::Draw(const Stage& stage, bool withPoints) const {
    if (!(built_ && sameBytes(points_, stage.points) && sameBytes(pointState_, stage.pointState) &&
          sameBytes(segments_, stage.segments)))
        Build(stage);
    if (withPoints) {
        SetPointSize(5.0f);
        DrawOpaqueColorVertices(placed_, GL_POINTS);
        SetPointSize(10.0f);
        DrawOpaqueColorVertices(selected_, GL_POINTS);
    }
    DrawOpaqueColorVertices(lines_, GL_LINES);
}
