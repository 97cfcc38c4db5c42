#include "ui/render/BarDraw.h"

#include "ui/render/Draw.h"

#include <algorithm>

namespace {
constexpr float CrossReach = 4.0f;
} // namespace

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

    // The bar and the pivot's cross in one call.
    const Rect cross(pivot.x + CrossReach, pivot.y + CrossReach, pivot.x - CrossReach, pivot.y - CrossReach);
    const auto vertex = [](Color32 c, Vec2 p) {
        return ColorVertex{colorRed(c), colorGreen(c), colorBlue(c), colorAlpha(c), p.x, p.y};
    };
    DrawColorVertices(
        {vertex(color, pivot), vertex(color, bar.freeEnd()),
         vertex(Colors::White, {cross.left, cross.bottom}), vertex(Colors::White, {cross.right, cross.top}),
         vertex(Colors::White, {cross.left, cross.top}), vertex(Colors::White, {cross.right, cross.bottom})},
        GL_LINES);
}

Rect barBounds(const Bar& bar) {
    const Vec2 pivot = bar.pivot(), free = bar.freeEnd();
    Rect r(pivot.x - CrossReach, pivot.y - CrossReach, pivot.x + CrossReach, pivot.y + CrossReach);
    const auto take = [&r](Vec2 p) {
        r = Rect(std::min(r.left, p.x), std::min(r.bottom, p.y), std::max(r.right, p.x),
                 std::max(r.top, p.y));
    };
    take(free);
    const auto& trail = bar.trail();
    for (std::size_t i = 0; i < trail.size(); ++i) {
        take(trail[i].pivotEnd);
        take(trail[i].freeEnd);
    }
    return r;
}
