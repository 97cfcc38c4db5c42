#include "ui/render/BarDraw.h"

#include "ui/render/Draw.h"

void drawBar(const Bar& bar) {
    const Color32 color = bar.color();
    const int alpha = colorAlpha(color);
    const auto& trail = bar.trail();
    const Vec2 pivot = bar.pivot();

    if (!trail.empty()) {
        // The swept quadrilaterals between successive positions, fading with age; the whole
        // trail takes the current colour.
        ColorVertexList strip;
        strip.reserve(trail.size() * 2);
        for (std::size_t i = 0; i < trail.size(); ++i) {
            const auto a = std::uint8_t(Bar::trailAlpha(int(i), alpha));
            strip.push_back({colorRed(color), colorGreen(color), colorBlue(color), a, trail[i].pivotEnd.x,
                             trail[i].pivotEnd.y});
            strip.push_back({colorRed(color), colorGreen(color), colorBlue(color), a, trail[i].freeEnd.x,
                             trail[i].freeEnd.y});
        }
        DrawColorVertices(strip, GL_TRIANGLE_STRIP);
    }

    SetColor(color);
    DrawVertices({pivot, bar.freeEnd()}, GL_LINES);

    const Rect cross(pivot.x + 4.0f, pivot.y + 4.0f, pivot.x - 4.0f, pivot.y - 4.0f);
    SetColor(Colors::White);
    DrawVertices({{cross.left, cross.bottom},
                  {cross.right, cross.top},
                  {cross.left, cross.top},
                  {cross.right, cross.bottom}},
                 GL_LINES);
}
