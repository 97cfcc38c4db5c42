// The bar's picture: its fading trail, its body and the cross on its pivot.
#include "game/Bar.h"
#include "render/Draw.h"

void Bar::drawBar() const {
    glDisable(GL_TEXTURE_2D);
    const Color32 color = fast_ ? fastColor_ : normalColor_;
    const int alpha = colorAlpha(color);

    if (!trail_.empty()) {
        // The swept quadrilaterals between successive positions, fading with age; the whole
        // trail takes the current colour.
        ColorVertexList strip;
        strip.reserve(trail_.size() * 2);
        for (std::size_t i = 0; i < trail_.size(); ++i) {
            const auto a = std::uint8_t(trailAlpha(int(i), alpha));
            strip.push_back({colorRed(color), colorGreen(color), colorBlue(color), a, trail_[i].pivotEnd.x,
                             trail_[i].pivotEnd.y});
            strip.push_back({colorRed(color), colorGreen(color), colorBlue(color), a, trail_[i].freeEnd.x,
                             trail_[i].freeEnd.y});
        }
        DrawColorVertices(strip, GL_TRIANGLE_STRIP);
    }

    SetColor(color);
    DrawVertices({pivot_, freeEnd()}, GL_LINES);

    const Rect cross(pivot_.x + 4.0f, pivot_.y + 4.0f, pivot_.x - 4.0f, pivot_.y - 4.0f);
    SetColor(Colors::White);
    DrawVertices({{cross.left, cross.bottom},
                  {cross.right, cross.top},
                  {cross.left, cross.top},
                  {cross.right, cross.bottom}},
                 GL_LINES);
}
