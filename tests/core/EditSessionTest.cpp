#include "tests/core/EditorScript.h"

#include "core/base/FileAccess.h"
#include "core/stage/StageFile.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
// The bytes SAVE would write for the stage as it is now.
std::string bytesOf(const Stage& s) {
    Stage copy = s;
    copy.compact();
    return formatStage(copy);
}

class Session : public ::testing::Test {
protected:
    TempFolder folder;
};
} // namespace

TEST_F(Session, ANewStageLoadsAsTheDefaults) {
    EditorScript e(folder.file("stage1"));
    e.session.mode = SETTING;
    e.click({40, 40});
    e.session.settingCamera = {5, 5, 2};
    e.session.setTitle(u"changed");
    e.session.beginCommand();
    e.session.load();
    const Stage& s = e.session.stage;
    EXPECT_EQ(s.title, u"untitled");
    EXPECT_EQ(s.timeLimit, 60);
    EXPECT_EQ(e.session.bar.pivot(), (Vec2{0, 0}));
    EXPECT_EQ(e.session.bar.angle().value(), 0.0f);
    EXPECT_EQ(e.session.settingCamera.zoom, 1.0f);
    EXPECT_EQ(e.session.settingCamera.x, 0.0f);
    EXPECT_EQ(s.pointCount(), 0);
}

TEST_F(Session, SaveThenChangeThenLoadBringsTheSavedStageBack) {
    EditorScript e(folder.file("stage1"));
    e.click({0, 0});
    e.click({50, 0});
    e.session.setTitle(u"first");
    e.session.beginCommand();
    ASSERT_TRUE(e.session.save(nullptr));
    EXPECT_EQ(e.session.loadPath, folder.file("stage1"));
    const std::string first = folder.read("stage1");
    e.session.beginCommand();
    ASSERT_TRUE(e.session.save(nullptr));
    EXPECT_EQ(folder.read("stage1"), first); // the second write is identical

    e.session.setTitle(u"second");
    e.click({0, 100});
    e.session.beginCommand();
    e.session.load();
    EXPECT_EQ(e.session.stage.title, u"first");
    EXPECT_EQ(e.session.stage.pointCount(), 2);
    EXPECT_FALSE(e.session.modified());
}

TEST_F(Session, AFailedSaveKeepsLoadPathAndReportsWhy) {
    EditorScript e(folder.file("no-such-folder/stage1"));
    e.click({0, 0});
    e.session.beginCommand();
    std::error_code error;
    EXPECT_FALSE(e.session.save(&error));
    EXPECT_TRUE(error);
    EXPECT_TRUE(e.session.loadPath.empty());
    EXPECT_TRUE(e.session.modified());
    e.session.load(); // reads nothing that was never written: the cleared stage
    EXPECT_EQ(e.session.stage.pointCount(), 0);
}

TEST_F(Session, AStageThatCannotBeReadSaysWhyAndLoadKeepsTheWork) {
    std::filesystem::create_directory(folder.file("stage5"));
    EditorScript unread(folder.file("stage5"), folder.file("stage5"));
    EXPECT_EQ(unread.session.openError, FileError::NotRegular);
    EXPECT_EQ(unread.session.stage.pointCount(), 0);
    // An empty stage now stands for a file that holds something else: EXIT asks, SAVE asks too.
    EXPECT_TRUE(unread.session.modified());
    EXPECT_EQ(unread.session.savedFileState(), EditSession::DiskState::Unreadable);

    EditorScript e(folder.file("stage1"));
    e.click({0, 0});
    e.session.beginCommand();
    ASSERT_TRUE(e.session.save(nullptr));
    EXPECT_FALSE(EditorScript(folder.file("stage1"), folder.file("stage1")).session.openError);
    e.click({50, 0});
    std::filesystem::remove(folder.file("stage1"));
    std::error_code error;
    EXPECT_FALSE(e.session.load(&error));
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    EXPECT_EQ(e.session.stage.pointCount(), 2); // not the cleared stage
    EXPECT_TRUE(e.session.modified());
}

TEST_F(Session, SaveKnowsWhenAnotherProgramChangedTheFile) {
    folder.write("stage3", "TITLE mine\n");
    EditorScript e(folder.file("stage3"), folder.file("stage3"));
    EXPECT_EQ(e.session.savedFileState(), EditSession::DiskState::AsRead);
    ASSERT_TRUE(writeFileAtomically(folder.file("stage3"), "TITLE theirs\n")); // another copy of the game
    EXPECT_EQ(e.session.savedFileState(), EditSession::DiskState::Changed);
    ASSERT_TRUE(e.session.save(nullptr)); // the player said OK
    EXPECT_EQ(e.session.savedFileState(), EditSession::DiskState::AsRead);
    EditorScript fresh(folder.file("stage4")); // a new stage: its name taken meanwhile
    folder.write("stage4", "TITLE theirs\n");
    EXPECT_EQ(fresh.session.savedFileState(), EditSession::DiskState::Changed);
}

TEST_F(Session, ModifiedFollowsLoadsSavesAndEditsButNotSelections) {
    folder.write("stage2", "\xEF\xBB\xBFTITLE t\r\nINITPOS 0 0 7\r\nPOINT 0 0 100 0\r\nWALL 0 1\r\n");
    EditorScript e(folder.file("stage2"), folder.file("stage2"));
    e.session.beginCommand();
    EXPECT_FALSE(e.session.modified()); // an unwrapped start angle is no change of the player's
    e.session.mode = MOVE;
    e.click({0, 0});
    e.session.beginCommand();
    EXPECT_FALSE(e.session.modified());
    e.drag({100, 0}, {100, 30});
    EXPECT_TRUE(e.session.modified());
    e.session.undo();
    EXPECT_FALSE(e.session.modified());
    e.session.mode = SETTING;
    e.session.settingCamera.x = 10; // the start camera is saved with the stage
    e.session.beginCommand();
    EXPECT_TRUE(e.session.modified());
}

TEST_F(Session, UndoAndRedoWalkBackAndForthThroughExactStages) {
    folder.write("stage1", "\xEF\xBB\xBFTITLE loaded\r\nPOINT 0 0 10 10\r\nGOAL 0 1\r\n");
    EditorScript e(folder.file("stage1"));
    std::vector<std::string> states{bytesOf(e.session.stage)};
    auto snap = [&] { states.push_back(bytesOf(e.session.stage)); };
    e.click({-100, 0}), snap();
    e.click({100, 0}), snap();
    e.session.mode = MOVE;
    e.drag({100, 0}, {120, 40}), snap();
    e.session.mode = DEL;
    e.drag({0, -50}, {0, 50}), snap();
    e.session.setTitle(u"named"), snap();
    e.session.setTimeLimit(u"45abc"), snap();
    e.session.mode = SETTING;
    e.drag({10, 10}, {10, 60}), snap();
    e.session.mode = MOVE;
    e.session.selectAll();
    EXPECT_GT(e.session.copySelection(), 0);
    e.session.paste(), snap(); // the points and their lines, one step down and right
    e.session.deleteSelected(), snap();
    EXPECT_EQ(e.session.deleteSelected(), 0); // nothing selected: no step either
    e.session.mode = PUT;
    e.session.loadPath = folder.file("stage1");
    e.session.load(), snap();
    for (std::size_t k = 1; k < states.size(); ++k)
        ASSERT_NE(states[k], states[k - 1]) << "step " << k << " changed nothing";

    const std::size_t steps = states.size() - 1;
    ASSERT_EQ(e.session.history().undoCount(), steps);
    for (std::size_t k = steps; k-- > 0;) {
        ASSERT_TRUE(e.session.undo());
        EXPECT_EQ(bytesOf(e.session.stage), states[k]) << "undo to " << k;
    }
    EXPECT_FALSE(e.session.undo());
    for (std::size_t k = 1; k <= steps; ++k) {
        ASSERT_TRUE(e.session.redo());
        EXPECT_EQ(bytesOf(e.session.stage), states[k]) << "redo to " << k;
    }
    EXPECT_FALSE(e.session.redo());
    e.session.undo();
    e.click({0, -200}); // a new step ends the redo line
    EXPECT_FALSE(e.session.redo());
}

TEST_F(Session, TheHistoryKeepsTwoHundredStepsAndMore) {
    EditorScript e;
    const std::size_t clicks = EditHistory::MaxSteps + 10;
    for (std::size_t i = 0; i < clicks; ++i)
        e.click({float(i % 20) * 30.0f - 300.0f, float(i / 20) * 30.0f - 200.0f});
    EXPECT_EQ(e.session.history().undoCount(), EditHistory::MaxSteps);
    std::size_t undone = 0;
    while (e.session.undo())
        ++undone;
    EXPECT_GE(undone, 200u);
    EXPECT_EQ(e.session.stage.pointCount(), int(clicks - undone));
}

TEST_F(Session, TheHistoryKeepsToItsByteBudget) {
    EditHistory history;
    Stage big;
    big.title.assign(1 << 20, u'x'); // no reader makes such a stage; the budget holds all the same
    for (int i = 0; i < 100; ++i)
        history.record(big);
    EXPECT_LE(history.bytes(), EditHistory::MaxBytes);
    EXPECT_GE(history.bytes(), EditHistory::MaxBytes - EditHistory::footprint(big));
    const std::size_t kept = history.undoCount();
    EXPECT_LT(kept, 40u);
    Stage current;
    const std::size_t emptyStage = EditHistory::footprint(current);
    while (history.undo(current)) {
    }
    EXPECT_EQ(history.bytes(), emptyStage + (kept - 1) * EditHistory::footprint(big)); // all moved to redo
}

TEST_F(Session, TitleAndTimeLimitTexts) {
    EditorScript e(folder.file("stage1"));
    EXPECT_FALSE(e.session.setTitle(u""));
    EXPECT_FALSE(e.session.setTitle(u"\r\n\t"));
    EXPECT_EQ(e.session.stage.title, u"untitled");
    EXPECT_TRUE(e.session.setTitle(u"二行の\r\nタイトル\u2028です"));
    EXPECT_EQ(e.session.stage.title, u"二行のタイトルです");
    EXPECT_TRUE(e.session.setTimeLimit(u"45abc"));
    EXPECT_EQ(e.session.stage.timeLimit, 45);
    EXPECT_FALSE(e.session.setTimeLimit(u"abc"));
    EXPECT_EQ(e.session.stage.timeLimit, 45);
    EXPECT_TRUE(e.session.setTimeLimit(u"99999999999"));
    EXPECT_EQ(e.session.stage.timeLimit, 2147483647);
    EXPECT_TRUE(e.session.setTimeLimit(u"-5"));
    EXPECT_EQ(e.session.stage.timeLimit, -5);

    // Whatever is typed, the saved stage reads back with the same title.
    for (const std::u16string typed : {u" a\tb \x85c\u2029 ", u"x\xD800y", u"\U0001F600 z \u3000"}) {
        ASSERT_TRUE(e.session.setTitle(typed));
        e.session.beginCommand();
        ASSERT_TRUE(e.session.save(nullptr));
        Stage back;
        loadStage(folder.file("stage1"), back);
        EXPECT_EQ(back.title, e.session.stage.title);
    }
}
