#include "GlTestSupport.h"

#include "app/GameWindow.h"
#include "app/MainHandler.h"
#include "editor/SceneEdit.h"
#include "editor/SceneEditMenu.h"
#include "game/SceneGameMain.h"
#include "platform/Synthetic.h"
#include "render/Draw.h"
#include "render/MenuEntry.h"
#include "scene/GameState.h"
#include "scene/SceneCrossHatch.h"
#include "scene/SceneMaster.h"
#include "sound/Sound.h"
#include "stage/FileLocations.h"
#include "stage/StageFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {
// True when a key press pushed before is still waiting: no box was there to take it.
bool keyStillQueued() {
    bool found = false;
    platform::Event e;
    while (platform::pollEvent(e))
        found = found || e.kind == platform::EventKind::KeyDown;
    return found;
}

class EditorScreens : public ::testing::Test {
protected:
    void SetUp() override {
        useFreshWorkingFolder();
        resetSoundCounts();
        keyStillQueued();
        master.InstallScenes(
            tableOfEveryId([this](SceneMaster&, int id) -> std::unique_ptr<Lib::Scene::SceneBase> {
                requested.push_back(id);
                return nullptr;
            }));
        TheGameSystem->keyState = KeyState{};
        TheGameSystem->mouseState.wheel = 0;
        inputTurn();
        inputTurn();
    }
    static void draw(Lib::Scene::SceneBase* s) {
        glDisable(GL_TEXTURE_2D);
        ResetView();
        s->Draw();
    }
    static Vec2 centre(const Rect& r) { return {r.centerX, r.centerY}; }
    void touch(const std::string& name) { std::ofstream(workingFolderPath() + name) << "x"; }

    SceneMaster master;
    std::vector<int> requested;
};

class MenuScreen : public EditorScreens {
protected:
    SceneEditMenu* open(Vec2 cursor = {0, 300}) {
        inputTurn(false, false, false, cursor);
        menu = pushOnto<SceneEditMenu>(master, &master);
        draw(menu);
        return menu;
    }
    void frame(Vec2 cursor, bool left = false) {
        inputTurn(left, false, false, cursor);
        menu->Update();
        draw(menu);
    }
    // Holds the cursor until the list has settled, then clicks.
    void settleAndClick(Vec2 cursor) {
        for (int i = 0; i < 200; ++i)
            frame(cursor);
        frame(cursor, true);
    }
    // A cursor whose list point, once the list has settled, is `target` (list units).
    Vec2 cursorOver(Vec2 target) const {
        const float n = float(menu->EntryCount());
        // target.y = ty + c with ty = (c / 600 - 0.5) * 80 n
        const float c = (target.y + 40.0f * n) / (1.0f + 80.0f * n / 600.0f);
        return {target.x, c};
    }
    Vec2 entryCentre(int i) const { return centre(menu->Entry(i).Bounds()); }

    SceneEditMenu* menu = nullptr;
};

class EditScreen : public EditorScreens {
protected:
    SceneEdit* open(const std::string& name = "stage1", bool isNew = true) {
        const std::string path = workingFolderPath() + name;
        edit = pushOnto<SceneEdit>(master, &master, path, isNew ? std::string() : path);
        draw(edit);
        return edit;
    }
    void frame(Vec2 cursor, bool left = false, bool right = false, bool middle = false) {
        inputTurn(left, right, middle, cursor);
        edit->Update();
        KeyState& keys = TheGameSystem->keyState;
        std::copy(std::begin(keys.current), std::end(keys.current), std::begin(keys.previous));
        keys.chords.clear();
        TheGameSystem->mouseState.wheel = 0;
        draw(edit);
    }
    void click(Vec2 cursor, bool right = false) {
        frame(cursor);
        frame(cursor, !right, right);
        frame(cursor);
    }
    void press(int area) { click(centre(edit->ToolBar().AreaRect(area))); }
    void chord(platform::Key key, bool shift = false) {
        TheGameSystem->keyState.chords = {{key, shift}};
        frame(TheGameSystem->mouseState.cursor);
    }
    const Stage& stage() { return edit->Session().stage; }
    std::u16string label(int i) { return edit->ToolBar().Label(i).Text(); }

    SceneEdit* edit = nullptr;
};
} // namespace

TEST_F(MenuScreen, EmptyFolderListsNewStageAndExitAndScrollsBetweenTheirEnds) {
    open({0, 300});
    ASSERT_EQ(menu->EntryCount(), 2);
    EXPECT_EQ(menu->Entry(0).Text(), u"N E W   S T A G E");
    EXPECT_EQ(menu->Entry(1).Text(), u"E X I T");
    for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(menu->Entry(i).Bounds().left, -352.0f, 4.0f) << i;
        EXPECT_NEAR(menu->Entry(i).Bounds().bottom, -80.0f * float(i) - 2.0f, 3.0f) << i;
    }
    EXPECT_EQ(menu->View().y, 0.0f); // top edge: entry 0 at the centre at once
    frame({0, -300});
    EXPECT_FLOAT_EQ(menu->View().y, -16.0f); // a tenth of the way to -160 per frame
    for (int i = 0; i < 300; ++i)
        frame({0, -300});
    EXPECT_NEAR(menu->View().y, -160.0f, 0.01f);
}

TEST_F(MenuScreen, NewStageTakesTheNextFreeNameAndAStageOpensByName) {
    touch("stage1");
    touch("stage2");
    open();
    ASSERT_EQ(menu->EntryCount(), 4);
    settleAndClick(cursorOver(entryCentre(2)));
    EXPECT_EQ(requested, std::vector<int>{SceneId::Edit});
    EXPECT_EQ(EditFileName, "stage3");
    EXPECT_TRUE(NewStage);
    EXPECT_EQ(soundCounts().playsOf(SoundId::enter), 1);

    requested.clear();
    open();
    settleAndClick(cursorOver(entryCentre(1)));
    EXPECT_EQ(requested, std::vector<int>{SceneId::Edit});
    EXPECT_EQ(EditFileName, "stage2");
    EXPECT_FALSE(NewStage);
}

TEST_F(MenuScreen, BetweenEntriesNothingIsHitAndExitPops) {
    touch("stage1");
    open();
    const Vec2 gap = {entryCentre(0).x, (entryCentre(0).y + entryCentre(1).y) * 0.5f};
    settleAndClick(cursorOver(gap));
    EXPECT_EQ(menu->Hovered(), -1);
    EXPECT_TRUE(requested.empty());
    const std::size_t depth = master.Depth();
    settleAndClick(cursorOver(entryCentre(2)));
    EXPECT_EQ(master.Depth(), depth - 1);
}

TEST_F(MenuScreen, NaturalOrderNoLeftoversAndRawNames) {
    for (const char* name : {"stage10", "stage2", "stage3.writing", "tempstage", "stage\xff"})
        touch(name);
    open();
    ASSERT_EQ(menu->EntryCount(), 5);
    EXPECT_EQ(menu->Entry(0).Text(), u"stage2");
    EXPECT_EQ(menu->Entry(1).Text(), u"stage10");
    EXPECT_EQ(menu->Entry(2).Text(), u"stage\uFFFD");
    settleAndClick(cursorOver(entryCentre(2)));
    EXPECT_EQ(EditFileName, "stage\xff"); // opened by its real bytes
}

TEST_F(MenuScreen, ThirtyStagesEaseIntoViewAtTheBottom) {
    for (int k = 1; k <= 30; ++k)
        touch("stage" + std::to_string(k));
    open({0, 300});
    frame({0, -300});
    const float first = menu->View().y;
    EXPECT_GT(first, -320.0f); // eased, not jumped
    for (int i = 0; i < 300; ++i)
        frame({0, -300});
    EXPECT_NEAR(menu->View().y, -80.0f * 32, 0.5f);
    const Rect last = menu->Entry(31).Bounds(); // EXIT, now on screen
    EXPECT_GT(last.bottom, menu->View().y - 300.0f);
}

TEST_F(MenuScreen, ThreeThousandStagesLookAndHoverAsIfEveryEntryWereDrawn) {
    const auto picture = [] {
        std::vector<std::uint8_t> pixels(800 * 600 * 4);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    };
    const auto everyEntry = [this] {
        glDisable(GL_TEXTURE_2D);
        ResetView();
        ClearScreen(Colors::Black);
        PushCamera(menu->View());
        for (int i = 0; i < menu->EntryCount(); ++i)
            DrawMenuEntry(const_cast<TextLabel&>(menu->Entry(i)), i == menu->Hovered());
        PopCamera();
    };
    for (int k = 1; k <= 3000; ++k)
        touch("stage" + std::to_string(k));
    open({0, 300});
    ASSERT_EQ(menu->EntryCount(), 3002);
    const Vec2 entry1500 = entryCentre(1500);
    int hovered = 0;
    for (Vec2 cursor : {Vec2{0, 300}, cursorOver(entry1500), Vec2{0, -300}, Vec2{0, 299}}) {
        for (int i = 0; i < 150; ++i) {
            frame(cursor);
            if (i % 15 != 14) continue; // while it eases, and once it has settled
            const std::vector<std::uint8_t> shown = picture();
            everyEntry();
            ASSERT_TRUE(shown == picture()) << "cursor y " << cursor.y << ", frame " << i;
            hovered += menu->Hovered() == 1500;
        }
    }
    settleAndClick(cursorOver(entry1500));
    EXPECT_EQ(EditFileName, "stage1501");
    EXPECT_GT(hovered, 0); // the highlight was among the pictures compared
}

TEST_F(EditScreen, PutThroughTheSceneAndItsRubberBand) {
    open();
    click({-100, 0});
    click({100, 0});
    click({0, 100});
    click({-100, 0});
    EXPECT_EQ(stage().pointCount(), 3);
    EXPECT_EQ(stage().segmentCount(), 3);
    frame({0, -100});
    // The rubber band runs from the last point (-100, 0) to the cursor, in yellow.
    EXPECT_TRUE(looksLike(pixelAt({-50, -50}), Colors::Yellow) ||
                looksLike(pixelAt({-50, -51}), Colors::Yellow));
    frame({101, 1});
    EXPECT_TRUE(looksLike(pixelAt({100, 0}), Colors::Red) || looksLike(pixelAt({101, 0}), Colors::Red));
}

TEST_F(EditScreen, ToolsRestOverTheToolBarButTheMiddleButtonPansEverywhere) {
    open();
    press(EditToolBar::Del);
    click({0, 0}, false); // nothing to delete: a stroke of no length
    frame({-20, -20});
    // A point, then a right drag released over the tool bar.
    edit->Session().stage.addPoint({10, 10});
    frame({0, 0});
    frame({0, 0}, false, true);
    frame({50, 100}, false, true);
    draw(edit);
    EXPECT_TRUE(looksLike(pixelAt({30, 50}), makeColor(128, 128, 0, 255), 70)); // the rectangle shows
    frame({50, 250}, false, true);
    frame({50, 250});
    EXPECT_EQ(stage().pointCount(), 1);

    frame({-300, 260});
    frame({-300, 260}, false, false, true);
    frame({-310, 250}, false, false, true);
    EXPECT_EQ(edit->Session().editCamera.x, 10.0f);
    EXPECT_EQ(edit->Session().editCamera.y, 10.0f);
}

TEST_F(EditScreen, ZoomByWheelAndKeysShowsInItsLabel) {
    open();
    EXPECT_EQ(label(EditToolBar::ZoomLabel), u"X1.00");
    TheGameSystem->mouseState.wheel = 1;
    frame({0, 0});
    EXPECT_FLOAT_EQ(edit->Session().editCamera.zoom, 0.9f);
    EXPECT_EQ(label(EditToolBar::ZoomLabel), u"X0.90");
    TheGameSystem->keyState.current[KeyV] = true;
    frame({0, 0});
    EXPECT_FLOAT_EQ(edit->Session().editCamera.zoom, 0.99f);
    frame({0, 0}); // held, not pressed again
    EXPECT_FLOAT_EQ(edit->Session().editCamera.zoom, 0.99f);
    TheGameSystem->keyState.current[KeyV] = false;
    TheGameSystem->keyState.current[KeyF] = true;
    frame({0, 0});
    EXPECT_EQ(label(EditToolBar::ZoomLabel), u"X0.89");
}

TEST_F(EditScreen, ToolBarButtonsModesKindAndStrip) {
    open();
    press(EditToolBar::Kind);
    EXPECT_EQ(label(EditToolBar::Kind), u"GOAL");
    EXPECT_EQ(edit->Session().kind, GOAL);
    press(EditToolBar::Kind);
    EXPECT_EQ(label(EditToolBar::Kind), u"WALL");
    EXPECT_EQ(soundCounts().playsOf(SoundId::click), 2);

    // Between two buttons: the strip, with an empty help text and no command.
    const Rect put = edit->ToolBar().AreaRect(EditToolBar::Put);
    frame({put.right + 2.0f, put.centerY});
    EXPECT_EQ(edit->HoverButton(), EditToolBar::Strip);
    EXPECT_EQ(label(EditToolBar::HelpLabel), u"");
    click({put.right + 2.0f, put.centerY});
    EXPECT_EQ(soundCounts().playsOf(SoundId::click), 2);
    EXPECT_EQ(stage().pointCount(), 0);
    frame({0, 0});
    EXPECT_EQ(label(EditToolBar::HelpLabel).substr(0, 6), u"左クリック:");

    TheGameSystem->mouseState.wheel = 1;
    frame({0, 0});
    press(EditToolBar::Setting);
    EXPECT_EQ(edit->Session().mode, SETTING);
    EXPECT_EQ(&edit->Session().camera(), &edit->Session().settingCamera);
    EXPECT_EQ(label(EditToolBar::ZoomLabel), u"X0.90"); // still the edit camera's until the next zoom
    frame({0, 0});
    const Rect setting = edit->ToolBar().AreaRect(EditToolBar::Setting);
    EXPECT_TRUE(looksLike(pixelAt({setting.left + 2, setting.bottom + 2}), Colors::Red));
    EXPECT_EQ(label(EditToolBar::HelpLabel).substr(0, 5), u"左クリック");
    TheGameSystem->mouseState.wheel = -1;
    frame({0, 0});
    EXPECT_EQ(label(EditToolBar::ZoomLabel), u"X1.10");
}

TEST_F(EditScreen, SaveLoadTitleAndTimeLimit) {
    open("stage1");
    press(EditToolBar::Load); // a new stage never saved: the defaults
    EXPECT_EQ(stage().title, u"untitled");
    EXPECT_EQ(label(EditToolBar::Title), u"タイトル:untitled");
    EXPECT_EQ(label(EditToolBar::TimeLimit), u"60秒");

    platform::pushKeyPress(platform::Key::End);
    for (int i = 0; i < 8; ++i)
        platform::pushKeyPress(platform::Key::Backspace);
    platform::pushText("森の中");
    platform::pushKeyPress(platform::Key::Return);
    press(EditToolBar::Title);
    EXPECT_EQ(label(EditToolBar::Title), u"タイトル:森の中");
    platform::pushKeyPress(platform::Key::Backspace);
    platform::pushKeyPress(platform::Key::Backspace);
    platform::pushText("90");
    platform::pushKeyPress(platform::Key::Return);
    press(EditToolBar::TimeLimit);
    EXPECT_EQ(label(EditToolBar::TimeLimit), u"90秒");

    click({0, 0});
    press(EditToolBar::Save);
    const std::string path = workingFolderPath() + "stage1";
    EXPECT_EQ(edit->Session().loadPath, path);
    Stage saved;
    loadStage(path, saved);
    EXPECT_EQ(saved.title, u"森の中");
    EXPECT_EQ(saved.timeLimit, 90);

    platform::pushText("x");
    platform::pushKeyPress(platform::Key::Return);
    press(EditToolBar::Title);
    platform::pushKeyPress(platform::Key::Backspace);
    platform::pushKeyPress(platform::Key::Backspace);
    platform::pushText("45abc");
    platform::pushKeyPress(platform::Key::Return);
    press(EditToolBar::TimeLimit);
    EXPECT_EQ(stage().timeLimit, 45);
    platform::pushText("abc");
    platform::pushKeyPress(platform::Key::Return);
    press(EditToolBar::TimeLimit);
    EXPECT_EQ(stage().timeLimit, 45);

    press(EditToolBar::Load);
    EXPECT_EQ(label(EditToolBar::Title), u"タイトル:森の中");
    EXPECT_EQ(stage().timeLimit, 90);
    EXPECT_EQ(stage().pointCount(), 1);
}

TEST_F(EditScreen, TestWritesTheTestStageAndPushesThePlay) {
    open();
    click({0, 0});
    BarsLeft = 1;
    EditMode = false;
    press(EditToolBar::Test);
    EXPECT_EQ(requested, std::vector<int>{SceneId::GameMain});
    EXPECT_TRUE(EditMode);
    EXPECT_EQ(BarsLeft, 5);
    Stage test;
    loadStage(testStagePath(), test);
    EXPECT_EQ(test.pointCount(), 1);
    EXPECT_EQ(edit->Session().activePoint, -1);
}

TEST_F(EditScreen, AFailedSaveSaysSoAndLoadDoesNotReadWhatWasNeverWritten) {
    std::filesystem::create_directory(workingFolderPath() + "stage1"); // a folder where the file should go
    open("stage1");
    click({0, 0});
    platform::pushKeyPress(platform::Key::Return);
    press(EditToolBar::Save);
    EXPECT_FALSE(keyStillQueued()); // the box took the key
    EXPECT_TRUE(edit->Session().loadPath.empty());
    press(EditToolBar::Load);
    EXPECT_EQ(stage().pointCount(), 0);

    click({0, 0});
    platform::pushKeyPress(platform::Key::Return);
    TheGameSystem->keyState.chords = {{platform::Key::S, false}};
    frame({0, 0});
    EXPECT_FALSE(keyStillQueued());
    EXPECT_TRUE(edit->Session().loadPath.empty());

    // Ctrl+S and Ctrl+Z typed in one turn: the box settles the input, and the undo still comes.
    click({100, 0});
    const int before = stage().pointCount();
    platform::pushKeyPress(platform::Key::Return);
    TheGameSystem->keyState.chords = {{platform::Key::S, false}, {platform::Key::Z, false}};
    frame({0, 0});
    EXPECT_FALSE(keyStillQueued());
    EXPECT_EQ(stage().pointCount(), before - 1);
}

TEST_F(EditScreen, AStageThatCannotBeReadSaysSoAndLoadKeepsTheWork) {
    std::filesystem::create_directory(workingFolderPath() + "stage5");
    open("stage5", false);
    platform::pushKeyPress(platform::Key::Return);
    frame({0, 0}); // the first frame tells, instead of showing an empty stage as if it were that one
    EXPECT_FALSE(keyStillQueued());
    platform::pushKeyPress(platform::Key::Return);
    frame({0, 0});
    EXPECT_TRUE(keyStillQueued()); // once

    open("stage1");
    click({0, 0});
    press(EditToolBar::Save);
    click({50, 0});
    std::filesystem::remove(workingFolderPath() + "stage1");
    platform::pushKeyPress(platform::Key::Return);
    press(EditToolBar::Load);
    EXPECT_FALSE(keyStillQueued());
    EXPECT_EQ(stage().pointCount(), 2);

    // A file too large to read is not replaced by one click: SAVE asks, starting on Cancel.
    const std::string big = workingFolderPath() + "stage6";
    std::ofstream(big) << std::string(MaxStageFileBytes + 1, ' ');
    open("stage6", false);
    platform::pushKeyPress(platform::Key::Return);
    frame({0, 0}); // the box that says it cannot be read
    EXPECT_TRUE(edit->HoldsUnsavedWork());
    platform::pushKeyPress(platform::Key::Return);
    press(EditToolBar::Save);
    EXPECT_FALSE(keyStillQueued());
    EXPECT_EQ(std::filesystem::file_size(big), MaxStageFileBytes + 1);
    platform::pushKeyPress(platform::Key::Tab);
    platform::pushKeyPress(platform::Key::Return);
    press(EditToolBar::Save);
    EXPECT_LT(std::filesystem::file_size(big), 100u);
    EXPECT_FALSE(edit->HoldsUnsavedWork());
}

TEST_F(EditScreen, ATestStageThatCannotBeWrittenStartsNoPlay) {
    std::filesystem::create_directory(testStagePath());
    open();
    click({0, 0});
    EditMode = false;
    platform::pushKeyPress(platform::Key::Return);
    press(EditToolBar::Test);
    EXPECT_FALSE(keyStillQueued());
    EXPECT_TRUE(requested.empty());
    EXPECT_FALSE(EditMode);
}

TEST_F(EditScreen, TheQuitQuestionStartsOnCancelWhileTheStageIsUnsaved) {
    MainHandler handler;
    Lib::System::Handler* const before = TheGameSystem->handler;
    TheGameSystem->handler = &handler;
    const std::string path = workingFolderPath() + "stage1";
    edit = pushOnto<SceneEdit>(handler.master, &handler.master, path, std::string());
    click({0, 0});
    pushOnto<SceneCrossHatch>(handler.master, &handler.master); // as the test play stands over it
    platform::Event escape;
    escape.kind = platform::EventKind::KeyDown;
    escape.key = platform::Key::Escape;
    Lib::System::CGameWindow& window = *TheGameSystem->window;

    TheGameSystem->QuitRequested = false;
    platform::pushKeyPress(platform::Key::Return);
    window.HandleEvent(escape);
    EXPECT_FALSE(keyStillQueued());
    EXPECT_FALSE(TheGameSystem->QuitRequested);

    handler.master.PopScene();
    press(EditToolBar::Save);
    platform::pushKeyPress(platform::Key::Return); // saved: Enter quits as before
    window.HandleEvent(escape);
    EXPECT_TRUE(TheGameSystem->QuitRequested);
    TheGameSystem->QuitRequested = false;
    TheGameSystem->handler = before;
}

TEST_F(EditScreen, ExitAsksOnlyWhenThereIsUnsavedWork) {
    open();
    platform::pushKeyPress(platform::Key::Escape);
    press(EditToolBar::Exit); // nothing changed: leaves at once
    EXPECT_TRUE(keyStillQueued());
    EXPECT_EQ(requested, std::vector<int>{SceneId::EditMenu});

    requested.clear();
    open();
    click({0, 0});
    platform::pushKeyPress(platform::Key::Escape);
    press(EditToolBar::Exit);
    EXPECT_FALSE(keyStillQueued());
    EXPECT_TRUE(requested.empty()); // Cancel: still editing, the point still there
    EXPECT_EQ(stage().pointCount(), 1);
    platform::pushKeyPress(platform::Key::Return); // a stray Enter keeps the work
    press(EditToolBar::Exit);
    EXPECT_FALSE(keyStillQueued());
    EXPECT_TRUE(requested.empty());
    platform::pushKeyPress(platform::Key::Tab);
    platform::pushKeyPress(platform::Key::Return);
    press(EditToolBar::Exit);
    EXPECT_EQ(requested, std::vector<int>{SceneId::EditMenu});

    requested.clear();
    open();
    click({0, 0});
    press(EditToolBar::Save);
    press(EditToolBar::Exit); // saved: no question
    EXPECT_EQ(requested, std::vector<int>{SceneId::EditMenu});
}

TEST_F(EditScreen, TypedLineBreaksNeverReachTheStageFile) {
    open();
    platform::setClipboardText("二行\r\nの題");
    platform::pushKeyPress(platform::Key::End);
    for (int i = 0; i < 8; ++i)
        platform::pushKeyPress(platform::Key::Backspace);
    platform::pushKeyPress(platform::Key::V, true);
    platform::pushText("の\t題\xe2\x80\xa8!"); // a tab and a line separator, typed
    platform::pushKeyPress(platform::Key::Return);
    press(EditToolBar::Title);
    EXPECT_EQ(stage().title, u"二行の題!");
    press(EditToolBar::Save);
    Stage back;
    loadStage(workingFolderPath() + "stage1", back);
    EXPECT_EQ(back.title, stage().title);
}

TEST_F(EditScreen, UndoAndRedoByKeysAndCtrlLettersAreNoButtons) {
    open();
    click({0, 0});
    click({100, 0});
    ASSERT_EQ(stage().segmentCount(), 1);
    chord(platform::Key::Z);
    EXPECT_EQ(stage().pointCount(), 1);
    EXPECT_EQ(stage().segmentCount(), 0);
    chord(platform::Key::Y);
    EXPECT_EQ(stage().segmentCount(), 1);
    chord(platform::Key::Z);
    chord(platform::Key::Z, true);
    EXPECT_EQ(stage().segmentCount(), 1);

    // Ctrl+Z through the event queue: an undo, not a left press.
    platform::pushKeyPress(platform::Key::Z, true);
    for (platform::Event e; platform::pollEvent(e);)
        TheGameSystem->window->HandleEvent(e);
    TheGameSystem->PollInput();
    EXPECT_FALSE(TheGameSystem->mouseState.down[MouseLeft]);
    ASSERT_EQ(TheGameSystem->keyState.chords.size(), 1u);
    EXPECT_EQ(TheGameSystem->keyState.chords[0].key, platform::Key::Z);
    edit->Update();
    EXPECT_EQ(stage().pointCount(), 1);
}

TEST_F(EditScreen, ATitleOf255DistinctKanjiDrawsWhole) {
    open();
    std::u16string title;
    for (char16_t c = 0x6F00; title.size() < 255; ++c)
        title += c;
    ASSERT_TRUE(edit->Session().setTitle(title));
    frame({0, 0});
    for (int i = 0; i < EditToolBar::LabelCount; ++i)
        EXPECT_EQ(edit->ToolBar().Label(i).RefusedGlyphs(), 0u) << i;

    press(EditToolBar::Test);
    auto* play = pushOnto<SceneGameMain>(master, &master, testStagePath(), std::nullopt);
    play->Update();
    draw(play);
    for (int i = 0; i < SceneGameMain::LabelCount; ++i)
        EXPECT_EQ(play->Label(i).RefusedGlyphs(), 0u) << i;
    EXPECT_EQ(play->Label(SceneGameMain::TitleLabel).Text().substr(6, 10), title.substr(0, 10));
    for (int i = 0; i < EditToolBar::LabelCount; ++i)
        EXPECT_EQ(edit->ToolBar().Label(i).RefusedGlyphs(), 0u) << i;
}
