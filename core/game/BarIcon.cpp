#include "core/game/BarIcon.h"

#include "core/game/Bar.h"

#include <algorithm>
#include <cmath>

namespace {
// The picture is laid out on a 64 x 64 unit canvas, origin at its centre, y up like the game's view.
constexpr float CanvasUnits = 64.0f;
constexpr float SquareHalf = 30.0f;
constexpr float SquareCorner = 10.0f;
constexpr float BarHalfWidth = 2.2f;
constexpr float CrossHalfWidth = 1.7f;
constexpr float CrossArm = 6.0f;
constexpr int SamplesPerAxis = 4;

struct Rgba {
    float r, g, b, a;
};
constexpr Rgba Background{20, 22, 30, 1.0f};
constexpr Rgba BarWhite{255, 255, 255, 1.0f};
constexpr Rgba CrossRed{235, 40, 40, 1.0f};

// One sweep of the fast bar: its last frames fan out behind it as the trail.
Bar sweptBar() {
    constexpr float FinalAngle = 0.9f;
    Bar bar({-19.0f, -17.0f}, 48.0f, Colors::White, Colors::Red,
            Angle(FinalAngle - Bar::FastStep * Bar::MaxTrail));
    for (int i = 0; i < Bar::MaxTrail; ++i)
        bar.step(true, false);
    return bar;
}

float cross2(Vec2 o, Vec2 a, Vec2 b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool inTriangle(Vec2 p, Vec2 a, Vec2 b, Vec2 c) {
    const float d1 = cross2(a, b, p), d2 = cross2(b, c, p), d3 = cross2(c, a, p);
    const bool negative = d1 < 0 || d2 < 0 || d3 < 0;
    const bool positive = d1 > 0 || d2 > 0 || d3 > 0;
    return !(negative && positive);
}

bool inRoundedSquare(Vec2 p) {
    const float inner = SquareHalf - SquareCorner;
    const float qx = std::max(std::fabs(p.x) - inner, 0.0f), qy = std::max(std::fabs(p.y) - inner, 0.0f);
    return std::fabs(p.x) <= SquareHalf && std::fabs(p.y) <= SquareHalf && std::hypot(qx, qy) <= SquareCorner;
}

Rgba over(Rgba below, Rgba top, float alpha) {
    return {below.r + (top.r - below.r) * alpha, below.g + (top.g - below.g) * alpha,
            below.b + (top.b - below.b) * alpha, below.a + (1.0f - below.a) * alpha};
}

// The colour of one point of the canvas, as the game would paint it: trail, then bar, then cross.
Rgba paint(const Bar& bar, Vec2 p) {
    if (!inRoundedSquare(p)) return {0, 0, 0, 0};
    Rgba c = Background;
    const auto& trail = bar.trail();
    for (std::size_t i = 0; i + 1 < trail.size(); ++i) {
        const TrailSegment& a = trail[i];
        const TrailSegment& b = trail[i + 1];
        if (inTriangle(p, a.pivotEnd, a.freeEnd, b.freeEnd) ||
            inTriangle(p, a.pivotEnd, b.freeEnd, b.pivotEnd)) {
            // Half the game's trail strength, so the bar itself stands out at small sizes.
            const int alpha = Bar::trailAlpha(int(i), 255) + Bar::trailAlpha(int(i) + 1, 255);
            c = over(c, BarWhite, float(alpha) / (4.0f * 255.0f));
            break;
        }
    }
    if (distanceToSegment(p, bar.pivot(), bar.freeEnd()) <= BarHalfWidth) c = BarWhite;
    const Vec2 q = bar.pivot();
    if (distanceToSegment(p, {q.x - CrossArm, q.y - CrossArm}, {q.x + CrossArm, q.y + CrossArm}) <=
            CrossHalfWidth ||
        distanceToSegment(p, {q.x - CrossArm, q.y + CrossArm}, {q.x + CrossArm, q.y - CrossArm}) <=
            CrossHalfWidth)
        c = CrossRed;
    return c;
}
} // namespace

std::vector<std::uint8_t> drawBarIcon(int size) {
    if (size <= 0) return {};
    const Bar bar = sweptBar();
    const float unitsPerPixel = CanvasUnits / float(size);
    std::vector<std::uint8_t> pixels(std::size_t(size) * std::size_t(size) * 4);
    for (int row = 0; row < size; ++row) {
        for (int col = 0; col < size; ++col) {
            // Supersampled: the sum of premultiplied samples, turned back to straight alpha.
            float r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < SamplesPerAxis; ++sy) {
                for (int sx = 0; sx < SamplesPerAxis; ++sx) {
                    const float px = (float(col) + (float(sx) + 0.5f) / SamplesPerAxis) * unitsPerPixel;
                    const float py = (float(row) + (float(sy) + 0.5f) / SamplesPerAxis) * unitsPerPixel;
                    const Rgba c = paint(bar, {px - CanvasUnits / 2, CanvasUnits / 2 - py});
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            std::uint8_t* out = &pixels[(std::size_t(row) * std::size_t(size) + std::size_t(col)) * 4];
            const float samples = SamplesPerAxis * SamplesPerAxis;
            if (a > 0) {
                out[0] = std::uint8_t(std::lround(r / a));
                out[1] = std::uint8_t(std::lround(g / a));
                out[2] = std::uint8_t(std::lround(b / a));
            }
            out[3] = std::uint8_t(std::lround(a / samples * 255.0f));
        }
    }
    return pixels;
}
