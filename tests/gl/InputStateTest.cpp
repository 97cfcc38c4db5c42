#include "GlTestSupport.h"

#include "support/Synthetic.h"

#include <gtest/gtest.h>

TEST(Viewport, LetterboxKeepsFourToThreeCentred) {
    using Lib::System::ComputeViewport;
    const auto tall = ComputeViewport(1280, 1024, 800, 600);
    EXPECT_FLOAT_EQ(tall.scale, 1.6f);
    EXPECT_EQ(tall.x, 0);
    EXPECT_EQ(tall.y, 32);
    EXPECT_EQ(tall.width, 1280);
    EXPECT_EQ(tall.height, 960);
    const auto wide = ComputeViewport(1440, 900, 800, 600);
    EXPECT_FLOAT_EQ(wide.scale, 1.5f);
    EXPECT_EQ(wide.x, 120);
    EXPECT_EQ(wide.y, 0);
    EXPECT_EQ(wide.width, 1200);
    EXPECT_EQ(wide.height, 900);
    const auto exact = ComputeViewport(800, 600, 800, 600);
    EXPECT_FLOAT_EQ(exact.scale, 1.0f);
    EXPECT_EQ(exact.width, 800);
    EXPECT_EQ(exact.height, 600);
}

TEST(InputState, CursorMapsFromPixelsToCentredViewUnits) {
    const Vec2 p = CursorToView(1000, 500, {1600, 1200, 2.0f});
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, 50);
    const Vec2 outside = CursorToView(-10, 0, {800, 600, 1.0f});
    EXPECT_EQ(outside.x, -410); // not clamped
    EXPECT_EQ(outside.y, 300);
}

TEST(InputState, WheelHandsOutWholeNotchesAndKeepsTheRest) {
    std::int32_t acc = 250;
    EXPECT_EQ(TakeWheelNotches(acc), 2);
    EXPECT_EQ(acc, 10);
    acc = -130;
    EXPECT_EQ(TakeWheelNotches(acc), -1);
    EXPECT_EQ(acc, -10);
    acc = 119;
    EXPECT_EQ(TakeWheelNotches(acc), 0);
    EXPECT_EQ(acc, 119);
}

TEST(InputState, HeldButtonsGiveOnePressAndKeysStandInForButtons) {
    MouseState m;
    std::int32_t wheel = 0;
    platform::InputSnapshot snap;
    snap.keys[KeyZ] = true; // Z with the mouse untouched reads as the left button
    snap.cursorX = 500;
    snap.cursorY = 200;
    int presses = 0;
    for (int turn = 0; turn < 5; ++turn) {
        UpdateMouse(m, snap, {800, 600, 1.0f}, wheel);
        presses += m.Pressed(MouseLeft);
    }
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(m.pressPosition[MouseLeft].x, 100);
    EXPECT_EQ(m.pressPosition[MouseLeft].y, 100);
    snap.keys[KeyZ] = false;
    UpdateMouse(m, snap, {800, 600, 1.0f}, wheel);
    EXPECT_TRUE(m.Released(MouseLeft));

    KeyState k;
    snap.keys[KeyF] = true;
    k.UpdateKeys(snap);
    EXPECT_TRUE(k.Pressed(KeyF));
    k.UpdateKeys(snap);
    EXPECT_FALSE(k.Pressed(KeyF));
    EXPECT_TRUE(k.Held(KeyF));
}

TEST(InputState, APressAndReleaseBetweenTwoPollsReadsAsOnePress) {
    platform::takeInputSnapshot(); // nothing latched from earlier tests
    platform::pushGameKeyTap(KeyZ);
    platform::Event e;
    while (platform::pollEvent(e)) {
    }
    EXPECT_TRUE(platform::takeInputSnapshot().keys[KeyZ]);
    EXPECT_FALSE(platform::takeInputSnapshot().keys[KeyZ]);
}
