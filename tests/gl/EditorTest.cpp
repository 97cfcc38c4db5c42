#include "tests/gl/GlTestSupport.h"

#include "core/base/Utf.h"
#include "core/game/InputRecord.h"
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"
#include "tests/support/Synthetic.h"
#include "ui/app/MainHandler.h"
#include "ui/editor/SceneEdit.h"
#include "ui/editor/SceneEditMenu.h"
#include "ui/render/Draw.h"
#include "ui/scene/SceneCrossHatch.h"
#include "ui/scene/SceneMaster.h"
#include "ui/screens/SceneGameMain.h"
#include "ui/screens/SceneTable.h"
#include "ui/sound/Sound.h"
#include "ui/system/GameWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sys/stat.h>

namespace {
// What the message loop does with the events waiting before a turn.
void deliverEvents() {
    platform::Event e;
    while (platform::pollEvent(e))
        TheGameSystem->window->HandleEvent(e);
}

class EditorScreens : public SceneTest {
protected:
    void SetUp() override {
        keyStillQueued(); // keys an earlier test left for a box
        SceneTest::SetUp();
    }
    static Vec2 centre(const Rect& r) { return {r.centerX, r.centerY}; }
    void touch(const std::string& name) { std::ofstream(workingFolderPath() + name) << "x"; }
};

class MenuScreen : public EditorScreens {
protected:
    SceneEditMenu* open(Vec2 cursor = Top) {
        inputTurn(false, false, false, cursor);
        menu = pushOnto<SceneEditMenu>(master, &master, master.Session());
        draw(menu);
        return menu;
    }
    void frame(Vec2 cursor, bool left = false, std::vector<platform::Key> keys = {}) {
        inputTurn(left, false, false, cursor);
        TheGameSystem->keyState.presses.clear();
        for (platform::Key key : keys)
            TheGameSystem->keyState.presses.push_back({key, false, false});
        menu->TakeDrops(); // as the master runs a frame, but with the window's focus
        menu->Update();
        TheGameSystem->mouseState.wheel = 0;
        draw(menu);
    }
    void settle(Vec2 cursor) { // until the list stands still
        for (float y = NAN; y != menu->View().y;) {
            y = menu->View().y;
            frame(cursor);
        }
    }
    // Holds the cursor until the list has settled, then clicks.
    void settleAndClick(Vec2 cursor) {
        settle(cursor);
        frame(cursor, true);
    }
    // The pointer's height that brings entry i of n under it while no key or wheel has moved the
    // list: the rows' boxes share the list out evenly, from the first one's middle to the last's.
    static Vec2 rowOf(int i, int n) {
        const float half = SceneEditMenu::RowHalf;
        const float along =
            2.0f * half * float(std::min(n, SceneEditMenu::ShownRows) - 1) * float(i) / float(n - 1);
        const int row = int(std::lround(along / (2.0f * half)));
        return {-300.0f, SceneEditMenu::RowY(row) - (along - 2.0f * half * float(row))};
    }
    static constexpr Vec2 Top{-300.0f, SceneEditMenu::RowY(0)};
    static constexpr Vec2 Bottom{-300.0f, SceneEditMenu::RowY(SceneEditMenu::ShownRows - 1)};
    std::u16string text(int i) const { return menu->Entry(i) ? menu->Entry(i)->Text() : u"(out of sight)"; }

    SceneEditMenu* menu = nullptr;
};

class EditScreen : public EditorScreens {
protected:
    SceneEdit* open(const std::string& name = "stage1", bool isNew = true) {
        const std::string path = workingFolderPath() + name;
        edit = pushOnto<SceneEdit>(master, &master, master.Session(), path, isNew ? std::string() : path);
        draw(edit);
        return edit;
    }
    void frame(Vec2 cursor, bool left = false, bool right = false, bool middle = false) {
        inputTurn(left, right, middle, cursor);
        edit->Update();
        KeyState& keys = TheGameSystem->keyState;
        std::copy(std::begin(keys.current), std::end(keys.current), std::begin(keys.previous));
        keys.chords.clear();
        keys.presses.clear();
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
    void typed(platform::Key key) {
        TheGameSystem->keyState.presses = {{key, false, false}};
        frame(TheGameSystem->mouseState.cursor);
    }
    bool lineNear(Vec2 view, Color32 c) {
        for (Vec2 d : {Vec2{0, 0}, Vec2{1, 0}, Vec2{-1, 0}, Vec2{0, 1}, Vec2{0, -1}})
            if (looksLike(pixelAt(view + d), c, 8)) return true;
        return false;
    }
    const Stage& stage() { return edit->Session().stage; }
    std::u16string label(int i) { return edit->ToolBar().Label(i).Text(); }

    SceneEdit* edit = nullptr;
};
} // namespace

TEST_F(MenuScreen, EmptyFolderListsNewStageTheShippedCopiesAndExitAndTheRowsReachBothEnds) {
    open(Top);
    ASSERT_EQ(menu->EntryCount(), 12);
    EXPECT_EQ(text(0), u"N E W   S T A G E");
    Stage first;
    loadStage("stage1", first);
    EXPECT_EQ(text(1), u"コピーを開く：ステージ1  " + first.title);
    for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(menu->Entry(i)->Bounds().left, -352.0f, 4.0f) << i;
        EXPECT_NEAR(menu->Entry(i)->Bounds().bottom, -80.0f * float(i) - 2.0f, 3.0f) << i;
    }
    frame(Top);
    EXPECT_EQ(menu->Hovered(), 0);
    const float top = menu->View().y;
    frame(Bottom);
    EXPECT_FLOAT_EQ(menu->View().y,
                    top + (-625.0f - top) * 0.1f); // eased a tenth of the way to entry 5 on the top row
    settle(Bottom);
    EXPECT_EQ(menu->Hovered(), 11);
    EXPECT_EQ(text(11), u"E X I T");
    EXPECT_EQ(text(10).substr(0, 13), u"コピーを開く：ステージ10");

    // A copy opens the shipped stage under the next free name, and nothing is written yet.
    touch("stage1");
    frame(Bottom, false, {platform::Key::Up, platform::Key::Up, platform::Key::Return});
    EXPECT_EQ(requested, std::vector<int>{SceneId::Edit});
    EXPECT_EQ(session.editFileName, "stage2");
    EXPECT_EQ(session.editSourcePath, "stage9");
    EXPECT_FALSE(session.newStage);
    EXPECT_FALSE(pathExists(workingFolderPath() + "stage2"));
    // The editor the game makes for it reads the shipped stage and saves under the new name.
    auto copy = GameSceneTable()[SceneId::Edit](master);
    session.editSourcePath.clear();
    EditSession& session = static_cast<SceneEdit&>(*copy).Session();
    Stage ninth;
    loadStage("stage9", ninth);
    EXPECT_TRUE(sameStageContent(session.stage, ninth));
    EXPECT_FALSE(session.modified());
    std::error_code error;
    ASSERT_TRUE(session.save(&error)) << error.message();
    Stage saved;
    loadStage(workingFolderPath() + "stage2", saved);
    EXPECT_TRUE(sameStageContent(saved, ninth));
}

TEST_F(MenuScreen, NewStageTakesTheNextFreeNameAndAStageOpensByName) {
    touch("stage1");
    touch("stage2");
    open(rowOf(2, 14));
    ASSERT_EQ(menu->EntryCount(), 14);
    settleAndClick(rowOf(2, 14));
    EXPECT_EQ(requested, std::vector<int>{SceneId::Edit});
    EXPECT_EQ(session.editFileName, "stage3");
    EXPECT_TRUE(session.newStage);
    EXPECT_EQ(soundCounts().playsOf(SoundId::enter), 1);

    requested.clear();
    open(rowOf(1, 14));
    settleAndClick(rowOf(1, 14));
    EXPECT_EQ(requested, std::vector<int>{SceneId::Edit});
    EXPECT_EQ(session.editFileName, "stage2");
    EXPECT_FALSE(session.newStage);
}

TEST_F(MenuScreen, BetweenEntriesNothingIsHitAndExitPops) {
    touch("stage1");
    open();
    settleAndClick({-300, Top.y - SceneEditMenu::EntrySpacing / 2.0f}); // between the first two rows
    EXPECT_EQ(menu->Hovered(), -1);
    EXPECT_TRUE(requested.empty());
    const std::size_t depth = master.Depth();
    settleAndClick(Bottom);
    EXPECT_EQ(master.Depth(), depth - 1);
}

TEST_F(MenuScreen, NaturalOrderTitlesNoLeftoversAndRawNames) {
    for (const char* name : {"stage10", "stage2", "stage3.writing", "tempstage", "stage\xff"})
        touch(name);
    std::ofstream(workingFolderPath() + "stage10")
        << "\xEF\xBB\xBFTIMELIMIT 5\nTITLE  a\tb\x1b " << std::string(300, 'w');
    std::filesystem::create_symlink(workingFolderPath() + "stage10", workingFolderPath() + "stage9");
    open();
    ASSERT_EQ(menu->EntryCount(), 15); // no "stage\xff": a name the game never gives, which reset-all keeps
    EXPECT_EQ(text(0), u"stage2  untitled");
    EXPECT_EQ(text(1), u"stage9"); // a link is listed, never read
    EXPECT_EQ(text(2).substr(0, 12), u"stage10  ab ");
    EXPECT_EQ(text(2).back(), u'…');
    EXPECT_LT(menu->Entry(2)->Bounds().right, 400.0f);
    frame(Top, false, {platform::Key::Down, platform::Key::Down});
    frame(Top, false, {platform::Key::Return});
    EXPECT_EQ(session.editFileName, "stage10");
}

TEST_F(MenuScreen, TenThousandNamesTheTopRowReachesTheFirstAndTheBottomRowExit) {
    for (int k = 0; k < 10000; ++k) // 1,100 kanji no glyph cache could hold all at once
        std::ofstream(workingFolderPath() + "stage" + std::to_string(k + 1))
            << "TITLE " << toUtf8(std::u16string(1, char16_t(0x4E00 + k % 1100)));
    open(Top);
    ASSERT_EQ(menu->EntryCount(), 10012);
    frame(Top);
    EXPECT_EQ(menu->Hovered(), 0);
    settle(Bottom);
    EXPECT_EQ(menu->Hovered(), 10011);
    EXPECT_EQ(text(10011), u"E X I T");
    EXPECT_EQ(menu->Entry(10011)->RefusedGlyphs(), 0u);
    EXPECT_EQ(menu->Entry(9000), nullptr); // out of sight: no label, no glyphs
    frame(Bottom, false, {platform::Key::End, platform::Key::Up});
    EXPECT_EQ(menu->Hovered(), 10010);
    TheGameSystem->mouseState.wheel = -1; // the wheel steps the lit entry while the keys lead
    frame(Bottom);
    EXPECT_EQ(menu->Hovered(), 10011);
    EXPECT_EQ(text(10004).substr(0, 12), u"コピーを開く：ステージ4");
    frame(Bottom, false, {platform::Key::Home, platform::Key::PageDown, platform::Key::Down});
    EXPECT_EQ(menu->Hovered(), 7);
    settle({-300, Bottom.y + 1.0f}); // the pointer takes over where the keys left the list
    EXPECT_EQ(menu->Hovered(), 7);
    TheGameSystem->mouseState.wheel = 2;
    settle({-300, Bottom.y + 1.0f});
    EXPECT_EQ(menu->Hovered(), 6); // two notches up, but the list stops with its first row on top
    settle(Top);
    EXPECT_EQ(menu->Hovered(), 0);
    frame(Top, true);
    EXPECT_EQ(session.editFileName, "stage1");
}

TEST_F(MenuScreen, DroppedStagesJoinTheListAndDeleteAsksFirst) {
    touch("stage1");
    const std::string folder = testDataFolder();
    Stage shared;
    shared.title = u"友達のステージ";
    shared.addPoint({1, 2});
    saveStage(folder + "friend", shared);
    std::ofstream(folder + "notes") << "hello";
    std::filesystem::create_symlink(folder + "friend", folder + "link");
    ASSERT_EQ(mkfifo((folder + "fifo").c_str(), 0600), 0);
    open();
    for (const char* name : {"friend", "notes", "fifo", "", "link", "missing"})
        platform::pushDroppedFile(folder + name);
    deliverEvents();
    frame(Top);
    frame(Top); // one copy a frame while the frame has no time to spare; the box at the end
    EXPECT_EQ(menu->EntryCount(), 15);
    platform::pushDroppedFile(folder + "friend"); // while the box naming the four refused stands open
    platform::pushKeyPress(platform::Key::Return);
    frame(Top);
    EXPECT_FALSE(keyStillQueued());
    TheGameSystem->active = false; // the drag came from a file manager, which keeps the focus
    master.RunFrame();
    TheGameSystem->active = true;
    ASSERT_EQ(menu->EntryCount(), 16);
    EXPECT_EQ(menu->Hovered(), 3); // the last one taken in
    EXPECT_EQ(text(1), u"stage2  友達のステージ");
    EXPECT_EQ(text(3), u"stage4  友達のステージ");
    Stage copied;
    loadStage(workingFolderPath() + "stage3", copied);
    EXPECT_TRUE(sameStageContent(copied, shared));

    // A box's end takes the real pointer: the list settles at the top again before each key.
    settle(Top);
    platform::pushDroppedFile(folder + "friend");  // while the question stands open
    platform::pushKeyPress(platform::Key::Return); // the question starts on Cancel
    frame(Top, false, {platform::Key::Down, platform::Key::Delete});
    EXPECT_TRUE(pathExists(workingFolderPath() + "stage2"));
    settle(Top);
    platform::pushKeyPress(platform::Key::Tab);
    platform::pushKeyPress(platform::Key::Return);
    frame(Top, false, {platform::Key::Down, platform::Key::Delete});
    EXPECT_FALSE(pathExists(workingFolderPath() + "stage2"));
    EXPECT_TRUE(pathExists(workingFolderPath() + "stage5") && pathExists(folder + "friend"));
    EXPECT_EQ(menu->EntryCount(), 16);
    EXPECT_EQ(text(1), u"stage3  友達のステージ");
}

TEST_F(MenuScreen, TenThousandRefusalsAnswerInOneBoxAtOnceWhileCopiesArePacedAndExitStopsThem) {
    const std::string folder = testDataFolder();
    Stage shared;
    shared.addPoint({1, 2});
    saveStage(folder + "friend", shared);
    open();
    TheGameSystem->pendingDrops.assign(10000, folder + "missing");
    int frames = 0;
    do {
        platform::pushKeyPress(platform::Key::Return);
        frame(Top);
    } while (++frames < 100 && keyStillQueued());
    EXPECT_LE(frames, 20);
    platform::pushKeyPress(platform::Key::Return);
    frame(Top);
    EXPECT_TRUE(keyStillQueued()); // the one box was all

    TheGameSystem->pendingDrops.assign(20, folder + "friend");
    frame(Top);
    EXPECT_EQ(menu->EntryCount(), 13);
    EXPECT_EQ(menu->Progress().Text(), u"取り込み中：残り 19 件");
    platform::pushKeyPress(platform::Key::Return); // for the box that tells of the eighteen given up
    frame(Top, false, {platform::Key::End, platform::Key::Return});
    EXPECT_FALSE(keyStillQueued());
    EXPECT_EQ(master.Depth(), 0u);
    EXPECT_TRUE(pathExists(workingFolderPath() + "stage2"));
    EXPECT_FALSE(pathExists(workingFolderPath() + "stage3"));
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
    typed(platform::Key::V);
    EXPECT_FLOAT_EQ(edit->Session().editCamera.zoom, 0.99f);
    TheGameSystem->keyState.current[KeyV] = true; // the V place held: a letter only when typed
    frame({0, 0});
    EXPECT_FLOAT_EQ(edit->Session().editCamera.zoom, 0.99f);
    TheGameSystem->keyState.current[KeyV] = false;
    typed(platform::Key::F);
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

    platform::pushText(std::string(80, 'W'));
    platform::pushKeyPress(platform::Key::Return);
    press(EditToolBar::Title);
    EXPECT_LT(edit->ToolBar().Label(EditToolBar::Title).Bounds().right, 400.0f); // cut before the edge
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
    session.barsLeft = 1;
    session.editMode = false;
    press(EditToolBar::Test);
    EXPECT_EQ(requested, std::vector<int>{SceneId::GameMain});
    EXPECT_TRUE(session.editMode);
    EXPECT_EQ(session.barsLeft, 5);
    Stage test;
    loadStage(testStagePath(), test);
    EXPECT_EQ(test.pointCount(), 1);
    EXPECT_EQ(edit->Session().activePoint, -1);
}

TEST_F(EditScreen, F5ChecksTheStageEscapeStopsItAndTheAnswerIsTheTestGhost) {
    MainHandler handler;
    Lib::System::Handler* const before = TheGameSystem->handler;
    TheGameSystem->handler = &handler;
    handler.master.InstallScenes(tableOfEveryId([](SceneMaster&, int) { return nullptr; }));
    edit = pushOnto<SceneEdit>(handler.master, &handler.master, handler.master.Session(),
                               workingFolderPath() + "stage1", std::string());
    // A wide room whose goal is boxed in: the check has far to search before it could answer.
    Stage& s = edit->Session().stage;
    const int a = s.addPoint({-2000, -2000}), b = s.addPoint({2000, -2000}), c = s.addPoint({2000, 2000});
    const int d = s.addPoint({-2000, 2000});
    for (const auto& [p, q] : {std::pair{a, b}, {b, c}, {c, d}, {d, a}})
        s.addSegment(p, q, WALL);
    s.addSegment(s.addPoint({200, -120}), s.addPoint({200, 120}), GOAL);
    const int e = s.addPoint({170, -150}), f = s.addPoint({230, -150}), g = s.addPoint({230, 150});
    const int h = s.addPoint({170, 150});
    std::vector<int> box;
    for (const auto& [p, q] : {std::pair{e, f}, {f, g}, {g, h}, {h, e}})
        box.push_back(s.addSegment(p, q, WALL));
    const auto typeF5 = [&] {
        TheGameSystem->keyState.presses = {{platform::Key::F5, false, false}};
        frame({0, -200});
        TheGameSystem->keyState.presses.clear();
    };
    const std::u16string idle = edit->CheckLabel().Text();
    typeF5();
    EXPECT_FALSE(edit->Check().idle());
    EXPECT_NE(edit->CheckLabel().Text(), idle);
    // Escape stops the check instead of asking about quitting.
    platform::Event escape;
    escape.kind = platform::EventKind::KeyDown;
    escape.key = platform::Key::Escape;
    TheGameSystem->QuitRequested = false;
    platform::pushKeyPress(platform::Key::Return); // would answer a quit question
    TheGameSystem->window->HandleEvent(escape);
    EXPECT_TRUE(keyStillQueued());
    EXPECT_TRUE(edit->Check().idle());
    EXPECT_FALSE(TheGameSystem->QuitRequested);

    // Opened and shrunk around the bar, the room has a route a person can play.
    for (const int line : box)
        s.deleteSegment(line);
    s.points[std::size_t(a)] = {-150, -150};
    s.points[std::size_t(b)] = {300, -150};
    s.points[std::size_t(c)] = {300, 150};
    s.points[std::size_t(d)] = {-150, 150};
    typeF5();
    while (edit->Check().running()) // the editor keeps its frames while the worker searches
        frame({0, -200});
    ASSERT_NE(edit->Check().answer(), nullptr);
    EXPECT_TRUE(edit->Check().answer()->solved());
    // The answer and its details, on two lines that stay inside the view.
    frame({0, -200}); // the frame after the answer shows it
    EXPECT_FALSE(edit->CheckDetailLabel().Text().empty());
    for (const TextLabel* line : {&edit->CheckLabel(), &edit->CheckDetailLabel()})
        EXPECT_LE(line->Bounds().right, ViewWidth / 2.0f) << toUtf8(line->Text());
    press(EditToolBar::Test);
    InputRecord ghost;
    ghost.load(testGhostPath(), INT32_MAX);
    EXPECT_EQ(ghost.total(), edit->Check().answer()->frames);
    // An edit drops the answer; the next test plays without a ghost.
    click({0, 0});
    EXPECT_TRUE(edit->Check().idle());
    EXPECT_EQ(edit->CheckLabel().Text(), idle);
    press(EditToolBar::Test);
    EXPECT_FALSE(pathExists(testGhostPath()));
    TheGameSystem->handler = before;
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
    session.editMode = false;
    platform::pushKeyPress(platform::Key::Return);
    press(EditToolBar::Test);
    EXPECT_FALSE(keyStillQueued());
    EXPECT_TRUE(requested.empty());
    EXPECT_FALSE(session.editMode);
}

TEST_F(EditScreen, TheQuitQuestionStartsOnCancelWhileTheStageIsUnsaved) {
    MainHandler handler;
    Lib::System::Handler* const before = TheGameSystem->handler;
    TheGameSystem->handler = &handler;
    const std::string path = workingFolderPath() + "stage1";
    edit =
        pushOnto<SceneEdit>(handler.master, &handler.master, handler.master.Session(), path, std::string());
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

    // A German layout swaps the Z and Y letters: Ctrl and the key that says Z still undoes.
    TheGameSystem->keyState.chords.clear(); // the poll's, taken
    click({100, 50});
    ASSERT_EQ(stage().pointCount(), 2);
    const auto germanChord = [&](platform::Key place, platform::Key letter) {
        platform::pushKeyPressAt(place, letter, true);
        for (platform::Event e; platform::pollEvent(e);)
            TheGameSystem->window->HandleEvent(e);
        TheGameSystem->PollInput();
        edit->Update();
        TheGameSystem->keyState.chords.clear();
    };
    germanChord(platform::Key::Y, platform::Key::Z);
    EXPECT_EQ(stage().pointCount(), 1);
    germanChord(platform::Key::Z, platform::Key::Y);
    EXPECT_EQ(stage().pointCount(), 2);
    EXPECT_FALSE(TheGameSystem->mouseState.down[MouseLeft]); // with Ctrl, the Z place is no click
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
    auto* play = pushOnto<SceneGameMain>(master, &master, master.Session(), testStagePath(), std::nullopt);
    play->Update();
    draw(play);
    for (int i = 0; i < SceneGameMain::LabelCount; ++i)
        EXPECT_EQ(play->Label(i).RefusedGlyphs(), 0u) << i;
    EXPECT_EQ(play->Label(SceneGameMain::TitleLabel).Text().substr(7, 10),
              title.substr(0, 10)); // after "テストプレイ："
    for (int i = 0; i < EditToolBar::LabelCount; ++i)
        EXPECT_EQ(edit->ToolBar().Label(i).RefusedGlyphs(), 0u) << i;
}

TEST_F(EditScreen, GridSnapSelectAllDeleteAndUndoByKeys) {
    open();
    typed(platform::Key::G);
    EXPECT_TRUE(edit->Session().snapping);
    frame({13, -26});
    EXPECT_EQ(label(EditToolBar::CursorLabel), u"グリッド吸着  x 10.0  y -30.0");
    EXPECT_TRUE(lineNear({-150, -150}, makeColor(40, 40, 48, 255))); // a faint grid line
    click({13, -26});
    click({47, 31});
    press(EditToolBar::Move);
    typed(platform::Key::Delete); // nothing selected: nothing goes
    chord(platform::Key::A);
    chord(platform::Key::C);
    chord(platform::Key::V);
    EXPECT_GE(stage().pickPoint({60, 20}, 1.0f), 0); // one grid step down and right
    chord(platform::Key::A);
    typed(platform::Key::Backspace);
    EXPECT_EQ(stage().pointCount(), 0);
    chord(platform::Key::Z);
    EXPECT_EQ(stage().pointCount(), 4);
    typed(platform::Key::G);
    frame({13, -26});
    EXPECT_EQ(label(EditToolBar::CursorLabel), u"x 13.0  y -26.0");
}

// Start cameras only a hand-made file holds, and lines at the float limit: the stage opens as it
// was, and G shows the grid (a line at view x -100 under any zoom the editor allows) where floats
// can place its lines and none where they cannot, every frame returning.
TEST_F(EditScreen, FarAndOddStartCamerasOpenAndToggleTheGrid) {
    const float big = std::numeric_limits<float>::max();
    for (const Camera start : {Camera{2e9f, 2e9f, 1}, {0, 0, -1}, {0, 0, 0}, {0, 0, 1e-30f}, {0, 0, 1e30f}}) {
        Stage s;
        s.startCamera = start;
        s.addSegment(s.addPoint({big, -big}), s.addPoint({big, big}), WALL);
        ASSERT_TRUE(saveStage(workingFolderPath() + "stage1", s));
        open("stage1", false);
        press(EditToolBar::Setting);
        typed(platform::Key::G);
        frame({0, 0});
        EXPECT_EQ(lineNear({-100, -150}, makeColor(40, 40, 48, 255)), start.x == 0) << start.zoom;
        EXPECT_FALSE(edit->Session().modified());
    }
}

TEST_F(EditScreen, PreviewsFollowTheToolsAndSettingOutlinesTheHeadsUpBand) {
    open();
    press(EditToolBar::Del);
    const Vec2 del = centre(edit->ToolBar().AreaRect(EditToolBar::Del));
    frame(del, true); // pressed on DEL and slid onto the stage: no stroke, as the tool makes none
    frame({0, -100}, true);
    EXPECT_TRUE(looksLike(pixelAt({del.x * 0.5f, (del.y - 100.0f) * 0.5f}), Colors::Black));
    frame({0, -100});
    press(EditToolBar::Setting);
    frame({0, 0});
    EXPECT_TRUE(lineNear({-290, 160}, makeColor(0, 160, 255, 255)));
    EXPECT_TRUE(lineNear({0, 135}, makeColor(0, 160, 255, 255)));
}

TEST_F(EditScreen, SaveShowsWhereItWroteForTwoSeconds) {
    open("stage4");
    chord(platform::Key::S);
    EXPECT_EQ(label(EditToolBar::NoticeLabel), std::u16string(u"保存しました：stage4"));
    for (int i = 1; i < EditToolBar::NoticeFrames; ++i)
        frame({0, 0});
    EXPECT_TRUE(edit->ToolBar().NoticeShown());
    frame({0, 0});
    EXPECT_FALSE(edit->ToolBar().NoticeShown());
}
