#include "tests/gl/GlTestSupport.h"

#include "core/game/InputRecord.h"
#include "core/game/PlayTexts.h"
#include "core/lang/Translate.h"
#include "core/settings/Settings.h"
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"
#include "core/stage/View.h"
#include "tests/support/Synthetic.h"
#include "ui/render/Draw.h"
#include "ui/render/PartialRedraw.h"
#include "ui/scene/SceneCrossHatch.h"
#include "ui/scene/SceneMaster.h"
#include "ui/screens/SceneDemo.h"
#include "ui/screens/SceneOptions.h"
#include "ui/screens/SceneStageSelect.h"
#include "ui/screens/SceneTitle.h"
#include "ui/sound/Sound.h"

#include <gtest/gtest.h>

#include <filesystem>
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

// Z is the left button: on empty screen it does nothing, though START is lit from the start;
// once the arrows lit an item it chooses that. Return chooses the lit item, START when none is.
TEST_F(Screens, TitleZIsTheLeftButtonAndReturnChoosesTheLitItem) {
    auto* title = make<SceneTitle>();
    draw(title);
    KeyState& keys = TheGameSystem->keyState;
    const auto turn = [&](std::vector<KeyPress> presses, bool left, Vec2 at) {
        keys.presses = std::move(presses);
        inputTurn(left, false, false, at);
        title->Update();
        keys.presses.clear();
    };
    const KeyPress z{platform::Key::Z, false, false, true};
    turn({z}, true, {}); // the pointer resting on empty screen
    turn({}, false, {});
    EXPECT_TRUE(requested.empty());
    EXPECT_EQ(title->Hovered(), SceneTitle::Start);

    const Vec2 empty{0, 280};
    turn({}, false, empty);
    EXPECT_EQ(title->Hovered(), -1);
    turn({{platform::Key::Return, false, false}}, false, empty);
    EXPECT_EQ(requested, std::vector<int>{SceneId::Demo});

    const KeyPress down{platform::Key::Down, false, false};
    turn({down, down, down}, false, empty); // from none onto the top entry, STAGE SELECT, then on
    EXPECT_EQ(title->Hovered(), SceneTitle::Edit);
    turn({z}, true, empty);
    EXPECT_EQ(requested, (std::vector<int>{SceneId::Demo, SceneId::EditMenu}));

    const Vec2 options = centre(title->MenuLabel(SceneTitle::Options));
    turn({}, false, options);
    turn({}, true, options);
    EXPECT_EQ(requested, (std::vector<int>{SceneId::Demo, SceneId::EditMenu, SceneId::Options}));
    // The corner entries stay whole on the screen, whatever their language.
    for (int item : {SceneTitle::Options, SceneTitle::ResetAll}) {
        EXPECT_GT(title->MenuLabel(item).Bounds().left, -400.0f);
        EXPECT_LT(title->MenuLabel(item).Bounds().right, 400.0f);
    }
}

TEST_F(Screens, OptionsAreHeardAndSeenAtOnceAndLastOnceLeft) {
    LoadLanguage({"locale"}, "ja"); // where the game in the build tree finds its catalogs
    Settings otherCopy; // another running copy wrote the file since: the screen shows what is in use
    otherCopy.fullScreen = true;
    ASSERT_TRUE(saveSettings(settingsPath(), otherCopy));
    auto* options = make<SceneOptions>();
    EXPECT_EQ(options->Chosen(), Settings{});
    draw(options);
    KeyState& keys = TheGameSystem->keyState;
    const auto click = [&](int row, bool right = false) {
        const Rect box = SceneOptions::RowBox(row);
        inputTurn(false, false, false, {box.centerX, box.centerY});
        options->Update();
        inputTurn(!right, right, false, {box.centerX, box.centerY});
        options->Update();
    };
    EXPECT_EQ(options->Hovered(), static_cast<int>(SettingRow::Music)); // lit on arrival
    click(static_cast<int>(SettingRow::Music));                         // on from the loudest: it stays there
    EXPECT_EQ(options->Chosen().musicVolume, 10);
    click(static_cast<int>(SettingRow::Music), true);
    EXPECT_EQ(options->Chosen().musicVolume, 9);
    EXPECT_EQ(soundCounts().musicVolume, 9);
    EXPECT_EQ(options->Value(0).Text(), u"■■■■■■■■■□");

    keys.presses = {{platform::Key::Down, false, false}};
    options->Update(); // the keys take over from the pointer, one row down
    EXPECT_EQ(options->Hovered(), static_cast<int>(SettingRow::Sound));
    keys.presses = {{platform::Key::Left, false, false}, {platform::Key::Left, false, true}};
    options->Update();
    keys.presses.clear();
    EXPECT_EQ(options->Chosen().soundVolume, 8);
    EXPECT_EQ(soundCounts().effectVolume, 8);
    EXPECT_EQ(options->Value(1).Text(), u"■■■■■■■■□□");

    click(static_cast<int>(SettingRow::Language)); // the environment's, then Japanese, then English
    click(static_cast<int>(SettingRow::Language));
    EXPECT_EQ(options->Chosen().language, "en");
    EXPECT_EQ(shownLanguage(), "en");
    EXPECT_EQ(options->Value(3).Text(), u"English");
    EXPECT_EQ(loadSettings(settingsPath()), otherCopy); // nothing written while choosing

    const std::size_t depth = master.Depth();
    click(SceneOptions::Back);
    EXPECT_EQ(master.Depth(), depth - 1);
    EXPECT_EQ(TheGameSystem->settings, options->Chosen());
    TheGameSystem->settings.fullScreen = true; // this copy's changes over the other's
    EXPECT_EQ(loadSettings(settingsPath()), TheGameSystem->settings);
    LoadLanguage({}, "ja");
    SetSoundVolumes(Settings::MaxVolume, Settings::MaxVolume);
}

TEST_F(Screens, TitleEditStageSelectAndExit) {
    auto* title = make<SceneTitle>();
    draw(title);
    master.Session().ownStageFile = "stage1"; // left through the pause menu: test play is no own stage
    inputTurn(false, false, false, centre(title->MenuLabel(SceneTitle::Edit)));
    inputTurn(true, false, false, centre(title->MenuLabel(SceneTitle::Edit)));
    title->Update();
    EXPECT_EQ(requested, std::vector<int>{SceneId::EditMenu});
    EXPECT_TRUE(session.editMode);
    EXPECT_TRUE(session.ownStageFile.empty());

    // The stage select sits apart from START.
    EXPECT_FALSE(
        title->MenuLabel(SceneTitle::Select).Bounds().overlaps(title->MenuLabel(SceneTitle::Start).Bounds()));
    master.Session().ownStageFile = "stage1";
    inputTurn(false, false, false, centre(title->MenuLabel(SceneTitle::Select)));
    inputTurn(true, false, false, centre(title->MenuLabel(SceneTitle::Select)));
    title->Update();
    EXPECT_EQ(requested, (std::vector<int>{SceneId::EditMenu, SceneId::StageSelect}));
    EXPECT_FALSE(master.Session().editMode);
    EXPECT_TRUE(master.Session().ownStageFile.empty());

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
    platform::pushKeyPress(platform::Key::Up); // from START up to the stage select above it
    turn();
    title->Update();
    EXPECT_EQ(title->Hovered(), SceneTitle::Select);
    platform::pushKeyPress(platform::Key::Up); // and round to the reset item
    turn();
    title->Update();
    EXPECT_EQ(title->Hovered(), SceneTitle::ResetAll);
    platform::pushKeyPress(platform::Key::Down);
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

TEST_F(Screens, TheIdleTitleDrawnWhereTheBarMovedLooksAsDrawnWhole) {
    auto* title = make<SceneTitle>();
    const auto picture = [] {
        std::vector<std::uint8_t> rgb(std::size_t(ViewWidth) * ViewHeight * 3);
        glReadPixels(0, 0, ViewWidth, ViewHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    };
    for (int frame = 1; frame <= 250; ++frame) { // both speeds, two pivot switches
        title->Update();
        TheGameSystem->cameraStack.ResetView();
        ExpectPresentedFrame();
        title->Draw();
        if (frame % 25 == 0) {
            const auto inParts = picture();
            draw(title);
            ASSERT_TRUE(picture() == inParts) << "frame " << frame;
        }
        TheGameSystem->window->SwapBuffers();
    }
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

    auto* byKey = make<SceneDemo>();
    TheGameSystem->keyState.presses = {{platform::Key::Return, false, false}};
    byKey->Update();
    TheGameSystem->keyState.presses.clear();
    EXPECT_EQ(requested, (std::vector<int>{SceneId::GameMain, SceneId::GameMain}));
}

// Stages 1 to 3 cleared: the select opens on stage 4, which Return plays with five bars and the
// stages after it to come; locked stages take no click; the own page plays a player's stage, or
// says that its file is gone; EXIT goes back to the title.
TEST_F(Screens, StageSelectGoesOnFromTheHighestReachedStage) {
    InputRecord solution;
    for (int n = 0; n < 3; ++n) {
        solution.load(std::string(DATA_DIR) + "/solutions/stage" + std::to_string(n + 1) + ".rep", INT32_MAX);
        ASSERT_TRUE(solution.save(replayFileName(n)));
    }
    auto* title = make<SceneTitle>(); // a returning player finds the select lit on the title
    TheGameSystem->keyState.presses = {{platform::Key::Return, false, false}};
    title->Update();
    TheGameSystem->keyState.presses.clear();
    EXPECT_EQ(requested, std::vector<int>{SceneId::StageSelect});
    requested.clear();
    Stage own;
    own.title = u"自作";
    own.addSegment(own.addPoint({0, 50}), own.addPoint({50, 50}), GOAL);
    for (const char* name : {"stage1", "stage2", "stage3"})
        ASSERT_TRUE(saveStage(workingFolderPath() + name, own));
    GameSession& session = master.Session();
    session.stageNumber = 7;
    session.barsLeft = 1;
    auto* select = make<SceneStageSelect>();
    const auto turn = [&](std::vector<platform::Key> keys, bool left = false, Vec2 cursor = {0, 0}) {
        TheGameSystem->keyState.presses.clear();
        for (platform::Key key : keys)
            TheGameSystem->keyState.presses.push_back({key, false, false, key == platform::Key::Z});
        inputTurn(left, false, false, cursor);
        select->Update();
        TheGameSystem->keyState.presses.clear();
        draw(select);
    };
    draw(select);
    EXPECT_EQ(select->Model().lit(), 3);
    EXPECT_EQ(select->RowName(2)->Text().substr(0, 5), u"ステージ3");
    EXPECT_EQ(select->RowTime(2)->Text(), FormatSeconds(solution.total()) + u"秒");
    EXPECT_EQ(select->RowTime(3)->Text(), u"----");
    EXPECT_TRUE(select->TotalLabel().Text().empty()); // not every stage has a best yet
    const Rect lit = select->RowName(3)->Bounds();
    EXPECT_TRUE(looksLike(pixelAt({lit.left - 4, lit.centerY}), Colors::Yellow));

    turn({}, true, centre(*select->RowName(5))); // locked: the click does nothing but say why
    EXPECT_EQ(select->LockedNote().Text(), u"ステージ5をクリアすると遊べます");
    turn({});
    EXPECT_TRUE(requested.empty());
    EXPECT_EQ(select->Model().lit(), 3);
    turn({platform::Key::Return});
    EXPECT_EQ(requested, std::vector<int>{SceneId::GameMain});
    EXPECT_EQ(session.stageNumber, 3);
    EXPECT_EQ(session.barsLeft, StartingBars);
    EXPECT_TRUE(session.ownStageFile.empty());

    requested.clear();
    turn({platform::Key::Right});
    ASSERT_EQ(select->Model().page(), StageSelect::Own);
    EXPECT_EQ(select->RowName(1)->Text(), u"stage2  自作");
    std::filesystem::remove(workingFolderPath() + "stage2");
    platform::pushKeyPress(platform::Key::Return); // the box that says so
    turn({}, true, centre(*select->RowName(1)));
    EXPECT_TRUE(requested.empty());
    EXPECT_EQ(select->Model().own().size(), 2u);
    std::ofstream(workingFolderPath() + "stage3", std::ios::trunc).close(); // emptied since it was listed
    platform::pushKeyPress(platform::Key::Return);
    turn({}, false, centre(*select->RowName(1)));
    turn({}, true, centre(*select->RowName(1)));
    EXPECT_TRUE(requested.empty()); // refused as anywhere else, not played as an empty stage
    EXPECT_EQ(select->Model().own().size(), 1u);
    turn({}, false, centre(*select->RowName(0)));
    turn({}, true, centre(*select->RowName(0)));
    EXPECT_EQ(requested, std::vector<int>{SceneId::GameMain});
    EXPECT_EQ(session.ownStageFile, "stage1");

    turn({}, false, centre(select->Tab(StageSelect::Shipped)));
    turn({}, true, centre(select->Tab(StageSelect::Shipped)));
    EXPECT_EQ(select->Model().page(), StageSelect::Shipped);
    const std::size_t depth = master.Depth();
    turn({platform::Key::End, platform::Key::Z}); // Z chooses the lit entry, as Return does
    EXPECT_EQ(master.Depth(), depth - 1);
}
