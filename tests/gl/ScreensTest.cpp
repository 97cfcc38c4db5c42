#include "GlTestSupport.h"

#include "render/Draw.h"
#include "scene/SceneCrossHatch.h"
#include "scene/SceneMaster.h"
#include "screens/SceneDemo.h"
#include "screens/SceneTitle.h"
#include "sound/Sound.h"
#include "stage/FileLocations.h"
#include "support/Synthetic.h"

#include <gtest/gtest.h>

#include <fstream>
#include <type_traits>

namespace {
// A master whose requested scenes are only recorded.
class Screens : public SceneTest {
protected:
    template <typename S> S* make() {
        if constexpr (std::is_constructible_v<S, SceneMaster*, GameSession&>)
            return pushOnto<S>(master, &master, master.Session());
        else
            return pushOnto<S>(master, &master);
    }
    static Vec2 centre(const TextLabel& l) { return {l.Bounds().centerX, l.Bounds().centerY}; }
};
} // namespace

TEST_F(Screens, CrossHatchHandsOverOnAPressOrAfterFiveSeconds) {
    auto* pressed = make<SceneCrossHatch>();
    inputTurn(true);
    pressed->Update();
    EXPECT_EQ(requested, std::vector<int>{SceneId::Title});

    requested.clear();
    auto* waiting = make<SceneCrossHatch>();
    inputTurn(true); // a button held since before: no new press
    for (int i = 0; i < 300; ++i)
        waiting->Update();
    EXPECT_TRUE(requested.empty());
    waiting->Update();
    EXPECT_EQ(requested, std::vector<int>{SceneId::Title});
    SetColor(Colors::Black); // what a box drawn over the screen leaves behind
    draw(waiting);
    // The first vertical line, at x = -399, lands on the first or second pixel column.
    EXPECT_TRUE(looksLike(pixelAt({-400, 0}), Colors::White) || looksLike(pixelAt({-399, 0}), Colors::White));
    EXPECT_TRUE(looksLike(pixelAt({-383, 10}), Colors::Black));
}

TEST_F(Screens, TitleHitTestsTheDrawnItemsAndStartsAGame) {
    auto* title = make<SceneTitle>();
    EXPECT_EQ(title->Hovered(), 0); // before its first update
    draw(title);
    inputTurn(false, false, false, {0, 280});
    title->Update();
    EXPECT_EQ(title->Hovered(), -1);
    inputTurn(true, false, false, {0, 280}); // a press on nothing does nothing
    title->Update();
    EXPECT_TRUE(requested.empty());

    const Vec2 start = centre(title->MenuLabel(SceneTitle::Start));
    inputTurn(true, false, false, start); // held while moving onto the item: no press
    title->Update();
    EXPECT_EQ(title->Hovered(), SceneTitle::Start);
    EXPECT_TRUE(requested.empty());
    draw(title);
    EXPECT_TRUE(looksLike(pixelAt({title->MenuLabel(0).Bounds().left + 2, start.y}), Colors::Yellow));

    session.stageNumber = 4;
    session.barsLeft = 1;
    session.editMode = true;
    inputTurn(false, false, false, start);
    inputTurn(true, false, false, start);
    title->Update();
    EXPECT_EQ(requested, std::vector<int>{SceneId::Demo});
    EXPECT_EQ(session.stageNumber, 0);
    EXPECT_EQ(session.barsLeft, 5);
    EXPECT_FALSE(session.editMode);
    EXPECT_EQ(soundCounts().playsOf(SoundId::enter), 1);
}

TEST_F(Screens, TitleEditAndExit) {
    auto* title = make<SceneTitle>();
    draw(title);
    inputTurn(false, false, false, centre(title->MenuLabel(SceneTitle::Edit)));
    inputTurn(true, false, false, centre(title->MenuLabel(SceneTitle::Edit)));
    title->Update();
    EXPECT_EQ(requested, std::vector<int>{SceneId::EditMenu});
    EXPECT_TRUE(session.editMode);

    const std::size_t depth = master.Depth();
    inputTurn(false, false, false, centre(title->MenuLabel(SceneTitle::Exit)));
    inputTurn(true, false, false, centre(title->MenuLabel(SceneTitle::Exit)));
    title->Update();
    EXPECT_EQ(master.Depth(), depth - 1);
}

TEST_F(Screens, ResetAllAsksFirstAndDeletesOnlyOnOk) {
    auto* title = make<SceneTitle>();
    draw(title);
    std::ofstream(workingFolderPath() + "rep1") << "1\r\n";
    const Vec2 reset = centre(title->MenuLabel(SceneTitle::ResetAll));
    const auto choose = [&] {
        inputTurn(false, false, false, reset);
        inputTurn(true, false, false, reset);
        title->Update();
    };
    platform::pushKeyPress(platform::Key::Escape);
    choose();
    EXPECT_TRUE(pathExists(workingFolderPath() + "rep1"));
    platform::pushKeyPress(platform::Key::Return); // the question starts on Cancel
    choose();
    EXPECT_TRUE(pathExists(workingFolderPath() + "rep1"));
    platform::pushKeyPress(platform::Key::Z); // the pivot key alone never answers a question
    platform::pushKeyPress(platform::Key::Escape);
    choose();
    EXPECT_TRUE(pathExists(workingFolderPath() + "rep1"));
    platform::pushKeyPress(platform::Key::Down); // once the highlight moved, Z answers it
    platform::pushKeyPress(platform::Key::Z);
    choose();
    EXPECT_FALSE(pathExists(workingFolderPath() + "rep1"));
    EXPECT_EQ(soundCounts().playsOf(SoundId::enter), 4);
}

// The title without a mouse: the arrows (a pad's d-pad) step the highlight in screen order and
// Return or Z (a pad's A) chooses it; a pad's other buttons stand in for the mouse's and keys.
TEST_F(Screens, TitleKeyboardAndGamepadWithoutAMouse) {
    auto* title = make<SceneTitle>();
    const auto turn = [] {
        platform::Event e;
        while (platform::pollEvent(e))
            TheGameSystem->window->HandleEvent(e);
        TheGameSystem->PollInput();
    };
    turn();
    platform::pushKeyPress(platform::Key::Up); // from START up round to the reset item
    turn();
    title->Update();
    EXPECT_EQ(title->Hovered(), SceneTitle::ResetAll);
    platform::pushKeyPress(platform::Key::Down);
    platform::pushKeyPress(platform::Key::Down);
    turn();
    title->Update();
    EXPECT_EQ(title->Hovered(), SceneTitle::Edit);
    draw(title);
    EXPECT_TRUE(looksLike(pixelAt({title->MenuLabel(SceneTitle::Edit).Bounds().left + 2,
                                   centre(title->MenuLabel(SceneTitle::Edit)).y}),
                          Colors::Yellow));
    platform::pushKeyPress(platform::Key::Return);
    turn();
    title->Update();
    EXPECT_EQ(requested, std::vector<int>{SceneId::EditMenu});

    const int pad = platform::attachVirtualGamepad();
    ASSERT_GE(pad, 0);
    turn(); // plugged in: opened
    using platform::PadInput;
    const auto press = [&](PadInput input) {
        turn(); // the previous input's release
        platform::setVirtualGamepad(pad, input, true);
        turn();
        title->Update();
        platform::setVirtualGamepad(pad, input, false);
    };
    press(PadInput::DpadDown); // EDIT to EXIT
    EXPECT_EQ(title->Hovered(), SceneTitle::Exit);
    press(PadInput::DpadUp);
    press(PadInput::DpadUp);
    EXPECT_EQ(title->Hovered(), SceneTitle::Start);
    press(PadInput::A);
    EXPECT_TRUE(TheGameSystem->mouseState.Held(MouseLeft));
    EXPECT_EQ(requested, (std::vector<int>{SceneId::EditMenu, SceneId::Demo}));
    press(PadInput::Start);
    EXPECT_TRUE(TheGameSystem->keyState.Typed(platform::Key::P));
    press(PadInput::StickLeft);
    EXPECT_TRUE(TheGameSystem->keyState.Typed(platform::Key::Left));
    press(PadInput::B);
    EXPECT_TRUE(TheGameSystem->mouseState.Held(MouseRight));
    press(PadInput::RightTrigger);
    EXPECT_TRUE(TheGameSystem->mouseState.Held(MouseRight));
    press(PadInput::X);
    EXPECT_TRUE(TheGameSystem->mouseState.Held(MouseMiddle));
    turn();
    EXPECT_FALSE(TheGameSystem->mouseState.Held(MouseMiddle));

    // A second pad works beside the first; unplugging one mid-game asks play to pause.
    const int second = platform::attachVirtualGamepad();
    turn();
    platform::setVirtualGamepad(second, PadInput::X, true);
    turn();
    EXPECT_TRUE(TheGameSystem->mouseState.Held(MouseMiddle));
    platform::detachVirtualGamepad(second);
    turn();
    EXPECT_TRUE(TheGameSystem->pauseRequested);
    TheGameSystem->pauseRequested = false;
    platform::detachVirtualGamepad(pad);
    turn();
}

TEST_F(Screens, TitleBarSwitchesAndSpeedsUpEveryTwoSeconds) {
    auto* title = make<SceneTitle>();
    for (int i = 0; i < 119; ++i)
        title->Update();
    EXPECT_FALSE(title->BackgroundBar().fast());
    const Vec2 pivot = title->BackgroundBar().pivot();
    title->Update();
    EXPECT_TRUE(title->BackgroundBar().fast());
    EXPECT_NE(title->BackgroundBar().pivot(), pivot);
    for (int i = 0; i < 120; ++i)
        title->Update();
    EXPECT_FALSE(title->BackgroundBar().fast());
}

TEST_F(Screens, HowToPlayBlinksItsPromptAndStartsOnAClick) {
    auto* demo = make<SceneDemo>();
    for (int frame = 1; frame <= 181; ++frame) {
        demo->Update();
        const bool shown = frame >= 45 && frame < 180;
        ASSERT_EQ(demo->PromptShown(), shown) << frame;
    }
    inputTurn(false, true);
    demo->Update();
    EXPECT_TRUE(demo->DemoBar().fast());
    EXPECT_TRUE(requested.empty());
    inputTurn(true, true);
    const Vec2 pivot = demo->DemoBar().pivot();
    demo->Update();
    EXPECT_EQ(requested, std::vector<int>{SceneId::GameMain});
    EXPECT_EQ(demo->DemoBar().pivot(), pivot); // a click never switches the pivot here
    EXPECT_EQ(soundCounts().playsOf(SoundId::enter), 1);
}
