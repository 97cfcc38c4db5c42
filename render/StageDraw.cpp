// The stage's picture in a handful of draw calls: one per point size and one line list in slot
// order, so a later line still covers an earlier one where they overlap.
#include "render/Draw.h"
#include "stage/Stage.h"

void Stage::drawStage(bool withPoints) const {
    glDisable(GL_TEXTURE_2D);
    if (withPoints) {
        ColorVertexList placed, selected;
        for (int i = 0; i < MaxPoints; ++i) {
            if (pointState[i] == PointState::Free) continue;
            const Vec2 p = points[i];
            if (pointState[i] == PointState::Selected)
                selected.push_back({255, 255, 0, 255, p.x, p.y});
            else
                placed.push_back({255, 255, 255, 255, p.x, p.y});
        }
        glPointSize(5.0f);
        DrawColorVertices(placed, GL_POINTS);
        glPointSize(10.0f);
        DrawColorVertices(selected, GL_POINTS);
    }
    ColorVertexList lines;
    for (const Segment& s : segments) {
        if (s.kind != WALL && s.kind != GOAL) continue;
        if (!holdsPoint(s.low) || !holdsPoint(s.high)) continue;
        const std::uint8_t g = s.kind == GOAL ? 0 : 255;
        lines.push_back({255, g, g, 255, points[s.low].x, points[s.low].y});
        lines.push_back({255, g, g, 255, points[s.high].x, points[s.high].y});
    }
    DrawColorVertices(lines, GL_LINES);
}
