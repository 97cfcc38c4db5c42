#include "tests/gl/GlTestSupport.h"

#include "core/game/HeadsUpBand.h"
#include "core/game/PlayTexts.h"
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"
#include "core/stage/StageTitle.h"
#include "tests/support/Synthetic.h"
#include "ui/render/Draw.h"
#include "ui/scene/SceneMaster.h"
#include "ui/screens/SceneGameMain.h"
#include "ui/sound/Sound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {
constexpr float Degree = 3.14159265f / 180.0f;

// A stage whose bar, left alone, first touches a short chord at radius 40 in play frame
// `frame` (the bar turns 2 degrees a frame from angle 0), with the given time limit.
std::string chordStage(int frame, std::int32_t kind, int timeLimit) {
    Stage s;
    s.timeLimit = timeLimit;
    const float a0 = (2.0f * float(frame) - 1.0f) * Degree, a1 = (2.0f * float(frame) + 1.0f) * Degree;
    s.addSegment(s.addPoint({40 * std::cos(a0), 40 * std::sin(a0)}),
                 s.addPoint({40 * std::cos(a1), 40 * std::sin(a1)}), kind);
    const std::string path = testDataFolder() + "stage";
    saveStage(path, s);
    return path;
}

std::string emptyStage(int timeLimit) {
    Stage s;
    s.timeLimit = timeLimit;
    const std::string path = testDataFolder() + "stage";
    saveStage(path, s);
    return path;
}

// Drives one game-main scene on a master whose next scenes are only counted.
class GameMain : public SceneTest {
protected:
    void start(const std::string& stage, std::optional<std::string> replay = std::nullopt) {
        game = pushOnto<SceneGameMain>(master, &master, master.Session(), stage, replay);
        below = master.Depth() - 1;
    }
    void frame(bool left = false, bool right = false, bool middle = false) {
        inputTurn(left, right, middle);
        game->Update();
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i)
            frame();
    }
    // Start click and the whole countdown.
    void toPlay() {
        frame(true);
        frames(PlaySession::CountdownFrames);
        ASSERT_EQ(game->Play().state(), GameState::Playing);
    }
    void toReplay() {
        frames(PlaySession::ResultFrames + 1);
        ASSERT_EQ(game->Play().state(), GameState::Replay);
    }
    // A turn with these keys typed (and the left button, as Z or a click makes it) at the cursor.
    void typed(std::vector<platform::Key> keys, bool left = false, Vec2 cursor = {}) {
        KeyState& state = TheGameSystem->keyState;
        state.presses.clear();
        for (platform::Key key : keys)
            state.presses.push_back({key, false, false, key == platform::Key::Z}); // a US layout
        inputTurn(left, false, false, cursor);
        game->Update();
        state.presses.clear();
    }
    int plays(SoundId id) const { return soundCounts().playsOf(id); }
    bool popped() const { return master.Depth() == below; }

    SceneGameMain* game = nullptr;
    std::size_t below = 0;
};
} // namespace

TEST_F(GameMain, ALimitOfNoTimeEndsAtOnceAndShowsNoNegativeTime) {
    for (int limit : {0, -5}) {
        start(emptyStage(limit));
        toPlay();
        frame();
        EXPECT_EQ(game->Play().state(), GameState::Result) << limit;
        EXPECT_EQ(game->Play().message(), TimeUpMessage) << limit;
        EXPECT_EQ(game->Label(SceneGameMain::TimeLabel).Text(), u"残り時間:0.00秒") << limit;
    }
}

TEST_F(GameMain, TheFirstClearIsASilentRecordWrittenAsTheReplay) {
    start(chordStage(45, GOAL, 30));
    toPlay();
    frames(45);
    ASSERT_TRUE(game->Play().cleared());
    EXPECT_TRUE(game->Play().newRecord());
    EXPECT_EQ(plays(SoundId::newrecord), 0);
    EXPECT_EQ(plays(SoundId::clear), 1);
    EXPECT_EQ(game->Play().best(), 45);
    EXPECT_EQ(game->Label(SceneGameMain::BestLabel).Text(), u"BEST:0.75秒");
    InputRecord saved;
    saved.load(replayFileName(0), INT32_MAX);
    EXPECT_EQ(saved.total(), 45);
    EXPECT_TRUE(saved.events().empty()); // written before the end event
}

TEST_F(GameMain, ABestRunThatDoesNotClearTheStageIsNoBestRun) {
    const std::string stage = chordStage(45, GOAL, 30);
    // Forged: one frame no clear can beat; endless: a time nobody made; foreign: a wall run.
    for (const char* forged : {"1\r\n", "2147483647\r\n", "44\r\n"}) {
        std::ofstream(replayFileName(0), std::ios::binary | std::ios::trunc) << forged;
        start(stage, replayFileName(0));
        EXPECT_EQ(game->Play().best(), -1) << forged;
        EXPECT_EQ(game->Label(SceneGameMain::BestLabel).Text(), u"BEST:----") << forged;
        EXPECT_FALSE(game->Play().ghostShown());
    }
    toPlay();
    frames(45);
    EXPECT_TRUE(game->Play().newRecord()); // and the file is replaced by a real best run
    InputRecord stored;
    stored.load(replayFileName(0), INT32_MAX);
    EXPECT_EQ(stored.total(), 45);
}

// A best run that cannot be written (a folder in its place) is no record, and a box says so.
TEST_F(GameMain, ARecordThatCannotBeWrittenIsToldAndNotShownAsOne) {
    std::filesystem::create_directory(replayFileName(0));
    start(chordStage(45, GOAL, 30));
    toPlay();
    platform::pushKeyPress(platform::Key::Return); // answers the box
    frames(45);
    EXPECT_TRUE(game->Play().cleared() && !keyStillQueued() && !game->Play().newRecord());
    EXPECT_EQ(game->Label(SceneGameMain::BestLabel).Text(), u"BEST:----");
}

TEST_F(GameMain, AFifoInPlaceOfTheReplayIsPlayedWithoutABestRun) {
    ASSERT_EQ(mkfifo(replayFileName(0).c_str(), 0600), 0);
    start(emptyStage(30), replayFileName(0)); // opening it once waited for a writer for ever
    EXPECT_EQ(game->Play().best(), -1);
    EXPECT_EQ(game->Play().state(), GameState::WaitStart);
}

TEST_F(GameMain, TestPlayNeverWritesAReplayAndReturnsToTheEditor) {
    session.editMode = true;
    start(chordStage(20, GOAL, 30));
    toPlay();
    frames(20);
    EXPECT_TRUE(game->Play().newRecord());
    EXPECT_FALSE(pathExists(replayFileName(0)));
    toReplay();
    frame(true);
    EXPECT_TRUE(popped());
    EXPECT_TRUE(requested.empty());
}

TEST_F(GameMain, AMiddlePressWithALeftPressLeavesOnceAndAsksNothingMore) {
    session.editMode = true;
    start(chordStage(20, WALL, 30));
    toPlay();
    frames(20);
    toReplay();
    const std::size_t depth = master.Depth();
    frame(true, false, true);
    EXPECT_EQ(master.Depth(), depth - 1); // exactly one pop: the editor below stays
    EXPECT_TRUE(requested.empty());
    EXPECT_EQ(session.barsLeft, 5);
}

TEST_F(GameMain, AHugeTitleKeepsTheStageNumberAndTheGameTexts) {
    Stage s;
    s.title.clear();
    for (std::size_t i = 0; i < MaxTitleUnits; ++i) // the longest title a stage file keeps
        s.title += char16_t(0x4E00 + i);
    const std::string path = testDataFolder() + "stage";
    std::error_code error;
    ASSERT_TRUE(saveStage(path, s, &error)) << error.message();
    start(path);
    // It ends in "…" at the band's edge, after as much of the stage number and title as fits.
    const TextLabel& title = game->Label(SceneGameMain::TitleLabel);
    const std::u16string shown = title.Text().substr(0, title.Text().size() - 1);
    EXPECT_EQ(title.Text().back(), u'…');
    EXPECT_GT(shown.size(), 10u);
    EXPECT_EQ(FormatStageTitle(0, s.title).substr(0, shown.size()), shown);
    EXPECT_LE(title.Bounds().right, HeadsUpBand.right + 1);
    // Every character of the shown texts has its glyph, so each one moves the pen on.
    for (int label : {SceneGameMain::TitleLabel, SceneGameMain::MessageLabel, SceneGameMain::BestLabel}) {
        const TextLabel& l = game->Label(label);
        for (std::size_t k = 1; k <= l.Text().size(); ++k)
            EXPECT_GT(l.PenX(k), l.PenX(k - 1)) << "label " << label << " unit " << k;
    }
}

TEST_F(GameMain, TheBarsLabelShowsOneStrokePerBar) {
    start(emptyStage(30));
    EXPECT_EQ(game->Label(SceneGameMain::BarsLabel).Text(), u"残り棒：/////");
    EXPECT_EQ(game->Label(SceneGameMain::BestLabel).Text(), u"BEST:----");
    // The texts stand in the band that the shipped stages keep clear of lines at their start (a
    // glyph's side bearing may reach a fraction of a unit past its pen position).
    for (int label : {SceneGameMain::TitleLabel, SceneGameMain::TimeLabel, SceneGameMain::BarsLabel,
                      SceneGameMain::BestLabel}) {
        const Rect r = game->Label(label).Bounds();
        const Rect band(HeadsUpBand.left - 1, HeadsUpBand.bottom - 1, HeadsUpBand.right + 1,
                        HeadsUpBand.top + 1);
        EXPECT_TRUE(band.left <= r.left && r.right <= band.right && band.bottom <= r.bottom &&
                    r.top <= band.top)
            << label << ": " << r.left << " " << r.bottom << " " << r.right << " " << r.top;
    }
}

// The texts are drawn over the world on a dark panel: a wall running under the time is dimmed
// there, not drawn through the text, and shows in full beside it.
TEST_F(GameMain, AWallUnderAHeadsUpTextIsDimmedThere) {
    start(emptyStage(30));
    const Rect time = game->Label(SceneGameMain::TimeLabel).Bounds();
    Stage s;
    s.timeLimit = 30;
    const float x = std::floor(time.left) + 1.5f; // in the panel's margin, left of the first glyph
    s.addSegment(s.addPoint({x, -250}), s.addPoint({x, 250}), WALL);
    const std::string path = testDataFolder() + "walled";
    saveStage(path, s);
    start(path);
    glDisable(GL_TEXTURE_2D);
    TheGameSystem->cameraStack.ResetView();
    game->Draw();
    const auto brightest = [&](float y) {
        int most = 0;
        for (float dx : {-1.0f, 0.0f, 1.0f})
            most = std::max(most, pixelAt({x + dx, y})[0]);
        return most;
    };
    EXPECT_GT(brightest(0.0f), 200);        // the wall out in the open
    EXPECT_LT(brightest(time.centerY), 64); // under the time's panel
}

// The pause's menu: Return chooses the lit item, Z only once the arrows moved the highlight, a
// click the item it is on; the turn of a choice is no frame of play, and nothing reaches the bar.
TEST_F(GameMain, ThePauseMenuResumesRetriesAndLeavesTheStage) {
    using platform::Key;
    start(emptyStage(30));
    toPlay();
    frames(10);
    typed({Key::P});
    ASSERT_TRUE(game->Play().paused());
    EXPECT_EQ(game->Menu().Lit(), PauseMenu::Resume);
    typed({Key::P}); // P resumes and plays its turn, as ever
    typed({Key::P});
    ASSERT_TRUE(game->Play().paused());
    const int remaining = game->Play().remaining();
    const Vec2 leave = centre(game->Menu().ItemLabel(PauseMenu::Leave));
    typed({}, false, leave);
    EXPECT_EQ(game->Menu().Lit(), PauseMenu::Leave); // the pointer moved over it
    typed({Key::Z}, true, leave); // the pivot key, unarmed: nothing, not even the item under the pointer
    typed({}, false, leave);
    typed({}, true); // a click on nothing
    ASSERT_TRUE(game->Play().paused());
    EXPECT_FALSE(popped());
    EXPECT_EQ(game->Menu().Lit(), PauseMenu::Leave);
    typed({Key::Up, Key::Up});
    EXPECT_EQ(game->Menu().Lit(), PauseMenu::Resume);
    typed({});
    typed({Key::Z}, true); // armed by the arrows: Resume, and the press stays off the bar
    EXPECT_FALSE(game->Play().paused());
    EXPECT_EQ(game->Play().remaining(), remaining);
    EXPECT_EQ(game->Play().playerBar().pivot(), (Vec2{0, 0}));
    frame();
    EXPECT_EQ(game->Play().remaining(), remaining - 1);

    typed({Key::P});
    EXPECT_EQ(game->Menu().Lit(), PauseMenu::Resume); // each pause starts on Resume
    typed({Key::Down});
    TheGameSystem->cameraStack.ResetView();
    game->Draw();
    const Rect retry = game->Menu().ItemLabel(PauseMenu::Retry).Bounds();
    EXPECT_TRUE(looksLike(pixelAt({retry.left + 2, retry.centerY}), Colors::Yellow));
    typed({Key::Return});
    EXPECT_EQ(master.Session().barsLeft, 4); // as if the bar was lost
    EXPECT_EQ(requested, std::vector<int>{SceneId::GameMain});
    EXPECT_FALSE(soundCounts().paused);
    EXPECT_FALSE(currentMusic().has_value());
    EXPECT_FALSE(pathExists(replayFileName(0)));

    // With no bar left a retry is the game's end; back to the title drops the attempt unsaved.
    master.Session().barsLeft = 0;
    start(emptyStage(30));
    toPlay();
    typed({Key::P});
    EXPECT_NE(game->Menu().ItemLabel(PauseMenu::Retry).Text(), u"ステージをやり直す（棒を1本使う）");
    platform::pushKeyPress(Key::Return); // the question starts on Cancel: still paused
    typed({Key::Down, Key::Return});
    EXPECT_TRUE(game->Play().paused() && game->Play().state() == GameState::Playing);
    TheGameSystem->pauseRequested = false; // as the next poll takes the box's request
    platform::pushKeyPress(Key::Left);
    platform::pushKeyPress(Key::Return);
    typed({Key::Return});
    EXPECT_EQ(game->Play().state(), GameState::GameOver);
    TheGameSystem->pauseRequested = false;
    start(chordStage(20, GOAL, 30));
    toPlay();
    typed({Key::P});
    typed({}, false, leave);
    typed({}, true, leave);
    EXPECT_TRUE(popped());
    EXPECT_FALSE(soundCounts().paused);
    EXPECT_FALSE(currentMusic().has_value());
    EXPECT_FALSE(pathExists(replayFileName(0)));
}

// A stuck player's guide is read from the shipped stage's proven route and shown beside play.
TEST_F(GameMain, TheGuideIsTheShippedStagesProvenRoute) {
    master.Session().barsLostHere = 3;
    master.Session().showWay = true;
    start(stageFileName(0));
    EXPECT_TRUE(game->Play().wayShown());
    master.Session().showWay = false;
    start(stageFileName(0));
    toPlay();
    typed({platform::Key::P});
    EXPECT_EQ(game->Menu().Shown(), PauseMenu::ShowWay + 1); // offered in the pause
}

// Focus lost in play: the pause shows in the very next frame, while the window is still away,
// and the click that brings the focus back chooses nothing from the menu under it.
TEST_F(GameMain, LosingFocusShowsThePauseAtOnceAndTheClickThatReturnsChoosesNothing) {
    start(emptyStage(30));
    toPlay();
    const int remaining = game->Play().remaining();
    platform::Event focus;
    focus.kind = platform::EventKind::FocusLost;
    TheGameSystem->window->HandleEvent(focus);
    master.RunFrame();
    EXPECT_TRUE(game->Play().paused());
    EXPECT_TRUE(soundCounts().paused); // play's sound waits with it
    focus.kind = platform::EventKind::FocusGained;
    TheGameSystem->window->HandleEvent(focus);
    inputTurn(true, false, false, centre(game->Menu().ItemLabel(PauseMenu::Leave)));
    master.RunFrame();
    EXPECT_TRUE(game->Play().paused() && !popped());
    typed({platform::Key::P});
    EXPECT_EQ(game->Play().remaining(), remaining - 1);
    EXPECT_FALSE(soundCounts().paused);

    // The right button held as the focus went, let go elsewhere: back in play the bar is not
    // fast, though the platform still says held, until the button is pressed again.
    platform::InputSnapshot held;
    held.buttons[MouseRight] = true;
    const auto fastAfter = [&](platform::EventKind event) {
        focus.kind = event;
        TheGameSystem->window->HandleEvent(focus);
        TheGameSystem->TakeInput(held);
        frame(false, TheGameSystem->mouseState.Held(MouseRight));
        return game->Play().playerBar().fast();
    };
    focus.button = MouseRight;
    TheGameSystem->TakeInput({}); // let go since the first focus loss
    EXPECT_TRUE(fastAfter(platform::EventKind::None));
    EXPECT_TRUE(fastAfter(platform::EventKind::FocusLost)); // paused: the bar keeps its state
    TheGameSystem->pauseRequested = false;                  // as the master's turn leaves it
    typed({platform::Key::P});
    EXPECT_FALSE(fastAfter(platform::EventKind::FocusGained));
    EXPECT_TRUE(fastAfter(platform::EventKind::MouseButtonDown));
    TheGameSystem->TakeInput({});
}

// An own stage is a real play: its best run is kept under its content's name, and a clear leads
// back to the stage select it was chosen from.
TEST_F(GameMain, AnOwnStageKeepsItsBestAndReturnsToTheStageSelect) {
    const std::string path = chordStage(20, GOAL, 30);
    master.Session().ownStageFile = "stage7";
    start(path);
    EXPECT_EQ(game->Label(SceneGameMain::TitleLabel).Text(), u"stage7 untitled");
    toPlay();
    frames(20);
    Stage stage;
    loadStage(path, stage);
    EXPECT_TRUE(pathExists(ownReplayFileName(stage)));
    EXPECT_FALSE(pathExists(replayFileName(0)));
    toReplay();
    frame(true);
    EXPECT_EQ(requested, std::vector<int>{SceneId::StageSelect});
}
