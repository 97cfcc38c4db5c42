#include "tests/gl/GlTestSupport.h"

#include "core/editor/EditLine.h"
#include "tests/support/Synthetic.h"
#include "ui/sound/Sound.h"
#include "ui/system/InputBox.h"
#include "ui/system/MessageBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

TEST(MessageBox, EnterMeansOkEscapeAndCloseMeanCancel) {
    platform::pushKeyPress(platform::Key::Return);
    EXPECT_EQ(ShowMessageBox(u"ゲームを終了しますか？", u"Quit"), MessageBoxResult::Ok);
    platform::pushKeyPress(platform::Key::Escape);
    EXPECT_EQ(ShowMessageBox(u"一行目\n二行目", u"WARNING"), MessageBoxResult::Cancel);
    platform::pushCloseRequest();
    EXPECT_EQ(ShowMessageBox(u"x", u"Quit"), MessageBoxResult::Cancel);
}

TEST(MessageBox, AltEnterIsNotOk) {
    platform::pushKeyPress(platform::Key::Return, false, true);
    platform::pushKeyPress(platform::Key::Escape);
    EXPECT_EQ(ShowMessageBox(u"ゲームを終了しますか？", u"Quit"), MessageBoxResult::Cancel);
    platform::pushKeyPress(platform::Key::Return, true, false);
    platform::pushKeyPress(platform::Key::Escape);
    EXPECT_EQ(ShowMessageBox(u"ゲームを終了しますか？", u"Quit"), MessageBoxResult::Cancel);
}

TEST(MessageBox, ADestructiveQuestionStartsOnCancel) {
    const auto reset = MessageBoxStyle::OkCancelDefaultCancel;
    platform::pushKeyPress(platform::Key::Return);
    EXPECT_EQ(ShowMessageBox(u"全て削除します", u"WARNING", reset), MessageBoxResult::Cancel);
    // The keyboard can still reach OK on purpose: move to it first.
    platform::pushKeyPress(platform::Key::Tab);
    platform::pushKeyPress(platform::Key::Return);
    EXPECT_EQ(ShowMessageBox(u"全て削除します", u"WARNING", reset), MessageBoxResult::Ok);
    platform::pushKeyPress(platform::Key::Left);
    platform::pushKeyPress(platform::Key::Return);
    EXPECT_EQ(ShowMessageBox(u"全て削除します", u"WARNING"), MessageBoxResult::Cancel);
}

TEST(MessageBox, AnOkOnlyBoxTakesEnter) {
    platform::pushKeyPress(platform::Key::Tab); // nothing to move to
    platform::pushKeyPress(platform::Key::Return);
    EXPECT_EQ(ShowMessageBox(u"ファイルが確認できません", u"stage5", MessageBoxStyle::Ok),
              MessageBoxResult::Ok);
}

TEST(MessageBox, InputMadeWhileTheBoxIsOpenDoesNotReachTheScene) {
    TheGameSystem->SettleInput();
    const std::int32_t wheelBefore = TheGameSystem->wheelAccumulator;
    platform::pushWheel(3.0f);
    platform::pushGameKeyTap(KeyX); // not Z: in a box Z answers, as Return does
    platform::pushGameKeyTap(KeyV);
    platform::pushKeyPress(platform::Key::Escape);
    ShowMessageBox(u"ゲームを終了しますか？", u"Quit");
    EXPECT_EQ(TheGameSystem->wheelAccumulator, wheelBefore);
    TheGameSystem->PollInput(); // the scene's next turn
    const MouseState& mouse = TheGameSystem->mouseState;
    EXPECT_EQ(mouse.wheel, 0);
    EXPECT_FALSE(mouse.Pressed(MouseRight));
    EXPECT_FALSE(TheGameSystem->keyState.Pressed(KeyV));
}

TEST(MessageBox, ATerminationSignalClosesTheBoxAndEndsTheGame) {
    platform::pushTerminate();
    EXPECT_EQ(ShowMessageBox(u"ゲームを終了しますか？", u"Quit"), MessageBoxResult::Cancel);
    EXPECT_TRUE(TheGameSystem->QuitRequested);
}

TEST(InputBox, OkAssignsTheTypedText) {
    std::u16string result = u"old";
    platform::pushKeyPress(platform::Key::End);
    platform::pushKeyPress(platform::Key::Backspace);
    platform::pushText("日本語のタイトル");
    platform::pushKeyPress(platform::Key::Return);
    EXPECT_TRUE(InputBox(u"ステージ名を入れて下さい", u"ab", result));
    EXPECT_EQ(result, u"a日本語のタイトル");
}

TEST(InputBox, TheOldTextIsSelectedSoTypingReplacesIt) {
    std::u16string result;
    platform::pushText("新");
    platform::pushKeyPress(platform::Key::Return);
    EXPECT_TRUE(InputBox(nullptr, u"untitled", result));
    EXPECT_EQ(result, u"新");
    platform::pushKeyPress(platform::Key::End);
    platform::pushKeyPress(platform::Key::Left, false, false, true);
    platform::pushKeyPress(platform::Key::Home, false, false, true); // extends, from the end
    platform::pushText("9");
    platform::pushKeyPress(platform::Key::Return);
    EXPECT_TRUE(InputBox(nullptr, u"120", result));
    EXPECT_EQ(result, u"9");
}

TEST(InputBox, AnEmptyOkGivesAnEmptyString) {
    std::u16string result = u"old";
    platform::pushKeyPress(platform::Key::Return);
    EXPECT_TRUE(InputBox(nullptr, nullptr, result));
    EXPECT_EQ(result, u"");
}

TEST(InputBox, CancelAfterTypingKeepsTheOldString) {
    std::u16string result = u"60";
    platform::pushText("999");
    platform::pushKeyPress(platform::Key::Escape);
    EXPECT_FALSE(InputBox(u"制限時間を入れて下さい", u"60", result));
    EXPECT_EQ(result, u"60");
    platform::pushText("1");
    platform::pushCloseRequest();
    EXPECT_FALSE(InputBox(u"制限時間を入れて下さい", u"60", result));
    EXPECT_EQ(result, u"60");
}

TEST(InputBox, AltEnterIsNotOk) {
    std::u16string result = u"old";
    platform::pushText("new");
    platform::pushKeyPress(platform::Key::Return, false, true);
    platform::pushKeyPress(platform::Key::Escape);
    EXPECT_FALSE(InputBox(nullptr, nullptr, result));
    EXPECT_EQ(result, u"old");
}

TEST(InputBox, APasteIsCutTo255Units) {
    platform::setClipboardText(std::string(300, 'x'));
    std::u16string result;
    platform::pushKeyPress(platform::Key::V, true);
    platform::pushKeyPress(platform::Key::Return);
    EXPECT_TRUE(InputBox(nullptr, nullptr, result));
    EXPECT_EQ(result, std::u16string(255, u'x'));
}

TEST(EditLine, EditsAtTheCaretAndKeepsSurrogatePairsWhole) {
    EditLine line(6);
    line.SetText(u"abc");
    line.Home();
    line.Right();
    line.Insert(u"😀");
    EXPECT_EQ(line.Text(), u"a😀bc");
    line.Left();
    EXPECT_EQ(line.Caret(), 1u);
    line.Delete();
    EXPECT_EQ(line.Text(), u"abc");
    line.End();
    EXPECT_EQ(line.Insert(u"de😀"), 2u); // room for 3: the pair would be split, so it is left out
    EXPECT_EQ(line.Text(), u"abcde");
    line.Backspace();
    EXPECT_EQ(line.Text(), u"abcd");
    EXPECT_EQ(line.Insert(u"x\ny"), 1u); // one line only

    line.SetText(u"ab😀cd");
    line.Left();
    line.Left();
    line.Left(true); // the pair goes whole into the selection
    EXPECT_EQ(line.SelectionStart(), 2u);
    line.Insert(u"X");
    EXPECT_EQ(line.Text(), u"abXcd");
    line.Home(true);
    line.Right(); // ends the selection at its right side
    EXPECT_EQ(line.Caret(), 3u);
}

TEST(GameWindow, CloseBoxAndEscapeAskFirstATerminationDoesNot) {
    Lib::System::CGameWindow& window = *TheGameSystem->window;
    platform::Event close;
    close.kind = platform::EventKind::CloseRequest;
    platform::Event escape;
    escape.kind = platform::EventKind::KeyDown;
    escape.key = platform::Key::Escape;

    platform::pushKeyPress(platform::Key::Escape); // Cancel: nothing changes
    window.HandleEvent(close);
    EXPECT_FALSE(TheGameSystem->QuitRequested);
    platform::pushKeyPress(platform::Key::Return);
    window.HandleEvent(escape);
    EXPECT_TRUE(TheGameSystem->QuitRequested);

    TheGameSystem->QuitRequested = false;
    platform::Event terminate;
    terminate.kind = platform::EventKind::Terminate;
    window.HandleEvent(terminate);
    EXPECT_TRUE(TheGameSystem->QuitRequested);
}

// Outside play the sound plays on without the focus; play holds its own (GameMain's tests).
TEST(GameWindow, FocusLossStopsTheScenesButNotTheSounds) {
    Lib::System::CGameWindow& window = *TheGameSystem->window;
    platform::Event focus;
    focus.kind = platform::EventKind::FocusLost;
    window.HandleEvent(focus);
    EXPECT_FALSE(TheGameSystem->active);
    EXPECT_FALSE(soundCounts().paused);
    EXPECT_TRUE(TheGameSystem->pauseRequested); // play pauses, and stays paused on return
    focus.kind = platform::EventKind::FocusGained;
    window.HandleEvent(focus);
    EXPECT_TRUE(TheGameSystem->active);
}

// Whoever makes the window larger than the surface limit, it is shrunk back when the resize is
// reported, and full screen on a desktop larger than the limit is the limit's size. (A limit the
// test's 1600 x 1200 screen exceeds.)
TEST(GameWindow, NoSurfaceLargerThanTheLimitWhateverAsksForIt) {
    Lib::System::CGameWindow& window = *TheGameSystem->window;
    int w = 0, h = 0;
    const auto settleWithin = [&](int side) { // takes the window's events for at most a few seconds
        for (int i = 0; i < 300 && (platform::drawableSize(w, h), w > side || h > side); ++i) {
            for (platform::Event e; platform::pollEvent(e);)
                window.HandleEvent(e);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::max(w, h);
    };
    window.LimitSurface(700);
    platform::resizeWindowPastItsLimit(1000, 900);
    EXPECT_LE(settleWithin(700), 700);
    EXPECT_LE(std::max(TheGameSystem->viewWidth, TheGameSystem->viewHeight), 700);
    const int windowedHeight = TheGameSystem->viewHeight;
    window.ToggleFullScreen();
    EXPECT_EQ(settleWithin(700), 700);
    window.LimitSurface(MaxSurfaceSide);
    window.ToggleFullScreen();
    settleWithin(800);
    EXPECT_EQ(TheGameSystem->viewHeight, windowedHeight); // back to the size it had, not 800 x 600
}
