#include "tests/gl/GlTestSupport.h"

#include "core/game/Bar.h"
#include "ui/render/BarDraw.h"
#include "ui/render/Draw.h"
#include "ui/render/PartialRedraw.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {
class Drawing : public ::testing::Test {
protected:
    void SetUp() override {
        glDisable(GL_TEXTURE_2D);
        TheGameSystem->cameraStack.ResetView();
        ClearScreen(Colors::Black);
    }
};

std::array<float, 16> projection() {
    std::array<float, 16> m{};
    glGetFloatv(GL_PROJECTION_MATRIX, m.data());
    return m;
}
} // namespace

TEST_F(Drawing, DefaultCameraPutsYUpAndTheCornersAtTheEdges) {
    FillRect(Rect(390, 290, 400, 300), Colors::Red);
    FillRect(Rect(-400, -300, -390, -290), Colors::Yellow);
    EXPECT_TRUE(looksLike(pixelAt({398, 298}), Colors::Red));
    EXPECT_TRUE(looksLike(pixelAt({-398, -298}), Colors::Yellow));
    EXPECT_TRUE(looksLike(pixelAt({-398, 298}), Colors::Black));
}

TEST_F(Drawing, AZoomTwoCameraShowsTwiceTheStage) {
    TheGameSystem->cameraStack.PushCamera({100, 50, 2});
    FillRect(Rect(880, 630, 900, 650), Colors::Red);       // the top-right corner it shows
    FillRect(Rect(-700, -550, -680, -530), Colors::White); // the bottom-left corner
    TheGameSystem->cameraStack.PopCamera();
    EXPECT_TRUE(looksLike(pixelAt({397, 297}), Colors::Red));
    EXPECT_TRUE(looksLike(pixelAt({-397, -297}), Colors::White));
    EXPECT_TRUE(looksLike(pixelAt({0, 0}), Colors::Black));
}

TEST_F(Drawing, PopCameraRestoresTheProjectionBelow) {
    TheGameSystem->cameraStack.PushCamera({10, 20, 0.5f});
    const auto before = projection();
    TheGameSystem->cameraStack.PushCamera({-300, 7, 3});
    EXPECT_NE(projection(), before);
    TheGameSystem->cameraStack.PopCamera();
    EXPECT_EQ(projection(), before);
    TheGameSystem->cameraStack.PopCamera();
    EXPECT_EQ(TheGameSystem->cameraStack.size(), 1u);
}

TEST_F(Drawing, FillRectHonoursAlpha) {
    FillRect(Rect(-50, -50, 50, 50), Colors::White);
    FillRect(Rect(-50, -50, 0, 50), makeColor(255, 0, 0, 0));
    FillRect(Rect(0, -50, 50, 50), makeColor(255, 0, 0, 255));
    EXPECT_TRUE(looksLike(pixelAt({-25, 0}), Colors::White));
    EXPECT_TRUE(looksLike(pixelAt({25, 0}), Colors::Red));
    FillRect(Rect(-50, -50, 50, 50), makeColor(0, 0, 0, 128));
    const auto half = pixelAt({-25, 0});
    EXPECT_NEAR(half[0], 127, 3);
}

TEST_F(Drawing, AnEmptyListDrawsNothingAndTouchesNoState) {
    glDisableClientState(GL_VERTEX_ARRAY);
    DrawVertices({}, GL_TRIANGLE_STRIP);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    DrawVertices({{-10, -10}, {-10, 10}, {10, -10}, {10, 10}}, GL_TRIANGLE_STRIP);
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
}

TEST_F(Drawing, TheTrailFadesFromTheBar) {
    Bar bar({0, 0}, 60.0f, Colors::White, Colors::Red, Angle(0.0f));
    for (int i = 0; i < 30; ++i)
        bar.step(false, false);
    drawBar(bar);
    // Newest trail segments are nearly opaque, the oldest faint; both sit at about radius 40.
    const Vec2 nearBar = {40.0f * std::cos(1.03f), 40.0f * std::sin(1.03f)};
    const Vec2 oldEnd = {40.0f * std::cos(0.68f), 40.0f * std::sin(0.68f)};
    EXPECT_GT(pixelAt(nearBar)[0], 200);
    const int faded = pixelAt(oldEnd)[0];
    EXPECT_GT(faded, 10);
    EXPECT_LT(faded, 120);
}

TEST_F(Drawing, APartialFrameDrawsWhereTheMovingPartWasAndIsAndKeepsTheRest) {
    if (!PartialRedrawWorks()) GTEST_SKIP() << "this renderer always draws in full";
    PartialRedraw redraw;
    const Rect was(-300, -200, -250, -150), now(-200, -200, -150, -150), still(100, 100, 150, 150);
    const auto frame = [&](std::uint64_t stillPart, bool presented) {
        if (presented) ExpectPresentedFrame();
        redraw.Begin(stillPart, now);
        ClearScreen(Colors::Black);
        redraw.End();
    };
    const auto swapAndSpoil = [&] { // what the screen would not draw, left in the buffer
        TheGameSystem->window->SwapBuffers();
        FillRect(was, Colors::Red);
        FillRect(still, Colors::Red);
    };
    ExpectPresentedFrame();
    redraw.Begin(1, was);
    redraw.End();
    swapAndSpoil();
    frame(1, true);
    EXPECT_TRUE(looksLike(pixelAt({was.centerX, was.centerY}), Colors::Black));
    EXPECT_TRUE(looksLike(pixelAt({still.centerX, still.centerY}), Colors::Red));
    for (const bool presented : {true, false}) { // another still part; a box to be drawn over it
        swapAndSpoil();
        frame(presented ? 2 : 1, presented);
        EXPECT_TRUE(looksLike(pixelAt({still.centerX, still.centerY}), Colors::Black));
    }
}
