#include "ui/scene/SceneCrossHatch.h"

#include "ui/render/Draw.h"
#include "ui/scene/SceneMaster.h"

namespace {
// Vertical lines at -399 + 32k then 399; horizontal at -299 + 32k then 299: one line list.
VertexList gridLines() {
    VertexList v;
    for (int k = 0; k <= 24; ++k) {
        const float x = -399.0f + 32.0f * float(k);
        v.push_back({x, -300.0f});
        v.push_back({x, 300.0f});
    }
    v.push_back({399.0f, -300.0f});
    v.push_back({399.0f, 300.0f});
    for (int k = 0; k <= 18; ++k) {
        const float y = -299.0f + 32.0f * float(k);
        v.push_back({-400.0f, y});
        v.push_back({400.0f, y});
    }
    v.push_back({-400.0f, 299.0f});
    v.push_back({400.0f, 299.0f});
    return v;
}
} // namespace

SceneCrossHatch::SceneCrossHatch(SceneMaster* master) : master_(master), context_(master->Context()) {}

void SceneCrossHatch::Update() {
    ++counter_;
    if (context_.mouse.Pressed(MouseLeft) || context_.keys.Typed(platform::Key::Return) ||
        counter_ > Duration)
        master_->ChangeScene(SceneId::Title);
}

void SceneCrossHatch::Draw() const {
    static const VertexList grid = gridLines();
    ClearScreen(Colors::Black);
    // White set here rather than left to GL's initial colour: a box drawn over this screen
    // (the quit question) leaves its own colour behind, and the grid would turn black.
    SetColor(Colors::White);
    DrawVertices(grid, GL_LINES);
}
