#include "GlTestSupport.h"

#include "support/Synthetic.h"

#include <gtest/gtest.h>

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
