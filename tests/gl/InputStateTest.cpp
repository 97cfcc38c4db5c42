#include "tests/gl/GlTestSupport.h"

#include "tests/support/Synthetic.h"
#include "ui/platform/InputLatches.h"

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
    platform::pushGameKeyTap(KeyZ);
    platform::Event e;
    while (platform::pollEvent(e)) {
    }
    EXPECT_TRUE(platform::takeInputSnapshot().keys[KeyZ]);
    EXPECT_FALSE(platform::takeInputSnapshot().keys[KeyZ]);
}

// Letters follow the layout, the game keys their place: on a German layout the key in Z's place
// types Y, yet it is still the left button's stand-in.
TEST(InputState, LettersFollowTheLayoutAndTheGameKeysTheirPlace) {
    const auto keyDown = [](platform::Key place, platform::Key letter) {
        platform::pushKeyPressAt(place, letter);
        platform::Event down, rest;
        EXPECT_TRUE(platform::pollEvent(down));
        while (platform::pollEvent(rest)) {
        }
        return down;
    };
    const platform::Event zPlace = keyDown(platform::Key::Z, platform::Key::Y);
    EXPECT_EQ(zPlace.key, platform::Key::Y);
    EXPECT_TRUE(zPlace.pivot);
    EXPECT_TRUE(platform::takeInputSnapshot().keys[KeyZ]);
    const platform::Event yPlace = keyDown(platform::Key::Y, platform::Key::Z);
    EXPECT_EQ(yPlace.key, platform::Key::Z);
    EXPECT_FALSE(yPlace.pivot);
    EXPECT_FALSE(platform::takeInputSnapshot().keys[KeyZ]);

    KeyState k;
    k.presses = {{platform::Key::Y, false, false, true}};
    EXPECT_TRUE(k.TypedPivot());
    EXPECT_FALSE(k.Typed(platform::Key::Z));
    k.presses = {{platform::Key::Z, false, true, true}}; // held: its repeats choose nothing
    EXPECT_FALSE(k.TypedPivot());
}

// Both back ends read their polls through the same latches: a tap between two polls reads once,
// a key pressed with Ctrl is no game key until let go, and a lost focus drops what was latched.
TEST(InputState, LatchesKeepATapAndSetShortcutsApart) {
    platform::InputLatches latches;
    latches.keyDown(KeyZ, false);
    latches.buttonDown(MouseRight);
    EXPECT_TRUE(latches.takeKey(KeyZ, false)); // let go before the poll: still one reading
    EXPECT_TRUE(latches.takeButton(MouseRight, false));
    EXPECT_FALSE(latches.takeKey(KeyZ, false)); // spent
    EXPECT_FALSE(latches.takeButton(MouseRight, false));
    EXPECT_TRUE(latches.takeButton(MouseLeft, true));

    latches.keyDown(KeyS, true); // Ctrl+S saves; S is no game key meanwhile, held or not
    EXPECT_FALSE(latches.takeKey(KeyS, true));
    latches.keyUp(KeyS);
    EXPECT_TRUE(latches.takeKey(KeyS, true));

    latches.keyDown(KeyS, true);
    latches.keyDown(KeyZ, false);
    latches.buttonDown(MouseLeft);
    latches.releaseAll(); // the releases may never arrive
    EXPECT_FALSE(latches.takeKey(KeyZ, false));
    EXPECT_FALSE(latches.takeButton(MouseLeft, false));
    EXPECT_TRUE(latches.takeKey(KeyS, true)); // no longer taken for a shortcut
}
