#include "core/stage/FileLocations.h"
#include "core/base/FileAccess.h"
#include "core/game/InputRecord.h"
#include "core/game/Progress.h"
#include "core/stage/StageFile.h"
#include "core/stage/StageNames.h"

#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Points the working folder into a temporary folder for one test.
class WorkingFolder : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_DATA_HOME", data.path().c_str(), 1);
        ASSERT_TRUE(ensureWorkingFolder());
    }
    void touch(const std::string& name) const { std::ofstream(workingFolderPath() + name) << "x"; }

    TempFolder data;
};
} // namespace

TEST_F(WorkingFolder, LivesInThePrivateDataFolder) {
    EXPECT_EQ(workingFolderPath(), data.path().string() + "/TWIRLSTICK_FILES/");
    struct stat st {};
    ASSERT_EQ(stat(workingFolderPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    setenv("XDG_DATA_HOME", "relative/path", 1); // not absolute: ignored
    setenv("HOME", "/home/player", 1);
    EXPECT_EQ(workingFolderPath(), "/home/player/.local/share/TWIRLSTICK_FILES/");
}

TEST_F(WorkingFolder, NamesOfStagesAndReplays) {
    EXPECT_EQ(stageFileName(0), "stage1");
    EXPECT_EQ(stageFileName(9), "stage10");
    EXPECT_EQ(replayFileName(0), workingFolderPath() + "rep1");
    EXPECT_EQ(testStagePath(), workingFolderPath() + "tempstage");
}

TEST_F(WorkingFolder, AnOwnStagesBestRunIsNamedAfterItsContent) {
    Stage stage;
    stage.addSegment(stage.addPoint({0, 0}), stage.addPoint({50, 0}), GOAL);
    const std::string name = ownReplayFileName(stage);
    ASSERT_EQ(name.size(), workingFolderPath().size() + 20);
    const std::string file = name.substr(workingFolderPath().size());
    EXPECT_TRUE(file.starts_with("rep-")) << file;
    EXPECT_TRUE(isGameFileName(file)); // reset-all takes it with the rest
    EXPECT_FALSE(isEditedStageName(file));
    const std::string path = workingFolderPath() + "stage1";
    ASSERT_TRUE(saveStage(path, stage));
    Stage saved; // read back from its file, with a selection and a stray deleted point
    loadStage(path, saved);
    saved.pointState[0] = PointState::Selected;
    saved.deletePoint(saved.addPoint({9, 9}));
    EXPECT_EQ(ownReplayFileName(saved), name);
    for (const auto& edit : {+[](Stage& s) { s.timeLimit += 1; }, +[](Stage& s) { s.title += u"!"; },
                             +[](Stage& s) { s.points[1].x += 1.0f; }}) {
        Stage edited = stage;
        edit(edited);
        EXPECT_NE(ownReplayFileName(edited), name);
    }
    for (const char* other :
         {"rep-0123456789abcde", "rep-0123456789ABCDEF", "rep-0123456789abcdef0", "rep-0123456789abcdeg",
          "stage1.old-0123456789abcdef", "rep1.old-0123456789abcde", "notes.old-0123456789abcdef",
          "tempstage.old-0123456789abcdef", "rep1.old-0123456789abcdef.old-0123456789abcdef",
          "unsent-0123456789abcdef0123456789abcde", "unsent-0123456789ABCDEF0123456789abcdef",
          "online-player"})
        EXPECT_FALSE(isGameFileName(other)) << other;
    // The best runs kept when their stage changed are the game's too.
    for (const char* kept : {"rep3.old-0123456789abcdef", "rep-0123456789abcdef.old-fedcba9876543210",
                             "tempghost.old-0123456789abcdef", "unsent-0123456789abcdef0123456789abcdef",
                             "online-0123456789abcdef0123456789abcdef"})
        EXPECT_TRUE(isGameFileName(kept)) << kept;
}

TEST_F(WorkingFolder, ProgressFollowsTheBestRunsThatVerify) {
    const std::string data = std::string(DATA_DIR) + "/";
    std::vector<StageProgress> fresh = readProgress(data, 10);
    ASSERT_EQ(fresh.size(), 10u);
    EXPECT_TRUE(fresh[0].reached);
    EXPECT_FALSE(fresh[1].reached);
    EXPECT_EQ(highestReached(fresh), 0);
    EXPECT_FALSE(totalBest(fresh));
    Stage first;
    loadStage(data + "stage1", first);
    EXPECT_EQ(fresh[0].title, first.title);

    // Stages 1 to 3 cleared; stage 5's file is forged (a one-frame "clear"), stage 7's is text.
    InputRecord solution;
    for (int n = 0; n < 3; ++n) {
        solution.load(data + "solutions/stage" + std::to_string(n + 1) + ".rep", INT32_MAX);
        ASSERT_TRUE(solution.save(replayFileName(n)));
    }
    touch("rep5");
    std::ofstream(replayFileName(4)) << "\xEF\xBB\xBF"
                                        "1\r\n";
    std::ofstream(replayFileName(6)) << "not a replay";
    const std::vector<StageProgress> played = readProgress(data, 10);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(workingFolderPath()), {}), 5); // none kept
    EXPECT_EQ(played[2].best, solution.total());
    for (int n : {0, 1, 2, 3})
        EXPECT_TRUE(played[std::size_t(n)].reached) << n;
    for (int n : {4, 5, 6, 7, 8, 9})
        EXPECT_FALSE(played[std::size_t(n)].reached) << n;
    EXPECT_EQ(played[4].best, -1);
    EXPECT_EQ(highestReached(played), 3);

    // A gap: stage 9's best alone reaches stage 10, which is then the highest.
    std::vector<StageProgress> gap(10);
    gap[8].best = 600;
    markReached(gap);
    EXPECT_TRUE(gap[9].reached);
    EXPECT_FALSE(gap[8].reached);
    EXPECT_EQ(highestReached(gap), 9);
    // The sum only once all ten have one, and it does not wrap.
    for (auto& stage : gap)
        stage.best = INT32_MAX;
    EXPECT_EQ(totalBest(gap), std::int64_t(INT32_MAX) * 10);
    EXPECT_FALSE(totalBest(readProgress(data + "missing/", 10)));
}

TEST_F(WorkingFolder, NextNewStageNameTakesTheFirstFreeNumber) {
    EXPECT_EQ(nextNewStageName(), "stage1");
    touch("stage1");
    touch("stage2");
    touch("stage4");
    EXPECT_EQ(nextNewStageName(), "stage3");
}

TEST_F(WorkingFolder, ListingShowsEditedStagesInNaturalOrder) {
    EXPECT_TRUE(listEditedStages().empty());
    for (const char* name : {"stage2", "stage10", "tempstage", "rep1", "stage1", "stageB", "stagea",
                             "stage3.writing", "stage4.tmp"})
        touch(name);
    std::filesystem::create_directory(workingFolderPath() + "stage99");
    const std::vector<std::string> expected = {"stage1", "stage2", "stage10"};
    EXPECT_EQ(listEditedStages(), expected);
}

TEST_F(WorkingFolder, DeleteRemovesOnlyTheGamesOwnFiles) {
    const std::vector<std::string> own = {"stage1", "stage12", "tempstage",
                                          "rep3",   "rep10",   ".twirlstick-a1b2c3d4e5.tmp"};
    const std::vector<std::string> others = {"notes.txt", "stageB",   "stage1.bak", "rep",
                                             "report",    "mystage1", "tempstage2", ".twirlstick-x.tmp"};
    for (const auto& name : own)
        touch(name);
    for (const auto& name : others)
        touch(name);
    // A ghost the game kept aside goes; a save's temporary file only once a minute old.
    touch("tempghost.old-0123456789abcdef");
    touch(".twirlstick-f6g7h8i9j0.tmp");
    std::filesystem::last_write_time(workingFolderPath() + own.back(),
                                     std::filesystem::file_time_type::clock::now() - std::chrono::minutes(2));
    std::filesystem::create_directory(workingFolderPath() + "stage2");
    TempFolder elsewhere;
    elsewhere.write("kept", "someone's file");
    std::filesystem::create_symlink(elsewhere.file("kept"), workingFolderPath() + "rep4");
    deleteWorkingFiles();
    for (const auto& name : own)
        EXPECT_FALSE(pathExists(workingFolderPath() + name)) << name;
    for (const auto& name : others)
        EXPECT_TRUE(pathExists(workingFolderPath() + name)) << name;
    EXPECT_FALSE(pathExists(workingFolderPath() + "tempghost.old-0123456789abcdef"));
    EXPECT_TRUE(pathExists(workingFolderPath() + ".twirlstick-f6g7h8i9j0.tmp"));
    EXPECT_TRUE(pathExists(workingFolderPath() + "stage2")); // folders stay
    EXPECT_FALSE(pathExists(workingFolderPath() + "rep4"));  // the link goes, not what it names
    EXPECT_EQ(elsewhere.read("kept"), "someone's file");
    std::filesystem::remove_all(workingFolderPath());
    deleteWorkingFiles(); // a missing folder deletes nothing and does not fail
    EXPECT_EQ(nextNewStageName(), "stage1");
}

TEST_F(WorkingFolder, AnExistingFolderIsMadePrivate) {
    ASSERT_EQ(chmod(workingFolderPath().c_str(), 0777), 0);
    std::error_code error;
    EXPECT_TRUE(ensureWorkingFolder(&error)) << error.message();
    struct stat st {};
    ASSERT_EQ(stat(workingFolderPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
}

TEST_F(WorkingFolder, StartUpSweepsOnlyOldTemporaryFilesOfTheGamesOwnMaking) {
    // Two hours old: the names the game makes go, names it never makes stay.
    std::vector<std::string> swept = {".twirlstick-abcdefghij.tmp"};
    for (int i = 0; i < 20; ++i)
        swept.push_back(newTemporaryFileName()); // the maker and the sweep agree on every letter
    const std::vector<std::string> kept = {"stage1",
                                           ".twirlstick-ABCDEFGHIJ.tmp",
                                           ".twirlstick-!!!!!!!!!!.tmp",
                                           ".twirlstick-" + std::string(10, '.') + ".tmp",
                                           ".twirlstick-abcd\nfghij.tmp",
                                           ".twirlstick-abcdefghi.tmp",
                                           ".twirlstick-abcdefghijk.tmp"};
    for (const auto& name : swept)
        touch(name);
    for (const auto& name : kept)
        touch(name);
    TempFolder elsewhere;
    elsewhere.write("kept", "someone's file");
    std::filesystem::create_symlink(elsewhere.file("kept"),
                                    workingFolderPath() + ".twirlstick-link000000.tmp");
    std::filesystem::create_directory(workingFolderPath() + ".twirlstick-folder0000.tmp");
    const timespec old[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 7200, 0}};
    for (const auto& entry : std::filesystem::directory_iterator(workingFolderPath()))
        ASSERT_EQ(utimensat(AT_FDCWD, entry.path().c_str(), old, AT_SYMLINK_NOFOLLOW), 0) << entry.path();
    touch(".twirlstick-0123456789.tmp"); // a save may be writing it
    sweepTemporaryFiles();
    for (const auto& name : swept)
        EXPECT_FALSE(pathExists(workingFolderPath() + name)) << name;
    for (const auto& name : kept)
        EXPECT_TRUE(pathExists(workingFolderPath() + name)) << name;
    for (const char* name :
         {".twirlstick-0123456789.tmp", ".twirlstick-link000000.tmp", ".twirlstick-folder0000.tmp"})
        EXPECT_TRUE(pathExists(workingFolderPath() + name)) << name;
    EXPECT_EQ(elsewhere.read("kept"), "someone's file");
}

TEST_F(WorkingFolder, ALinkedFolderKeepsItsMode) {
    TempFolder shared;
    ASSERT_EQ(chmod(shared.path().c_str(), 02775), 0);
    std::filesystem::remove_all(workingFolderPath());
    std::filesystem::create_directory_symlink(shared.path(), data.path() / "TWIRLSTICK_FILES");
    EXPECT_TRUE(ensureWorkingFolder());
    struct stat st {};
    ASSERT_EQ(stat(shared.path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 02775u);
}

TEST_F(WorkingFolder, AFolderOfAnotherUserIsNeitherUsedNorEmptied) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to hand a folder to another user";
    // The working folder is a link into someone else's folder of notes.
    TempFolder notes;
    notes.write("rep1", "someone's notes");
    ASSERT_EQ(chown(notes.path().c_str(), 65534, 65534), 0);
    ASSERT_EQ(chmod(notes.path().c_str(), 0777), 0);
    std::filesystem::remove_all(workingFolderPath());
    std::filesystem::create_directory_symlink(notes.path(), data.path() / "TWIRLSTICK_FILES");
    std::error_code error;
    EXPECT_FALSE(ensureWorkingFolder(&error));
    EXPECT_EQ(error, FileError::FolderNotOwned);
    struct stat st {};
    ASSERT_EQ(stat(notes.path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0777u); // not ours to change
    deleteWorkingFiles();
    EXPECT_EQ(notes.read("rep1"), "someone's notes");
    InputRecord record;
    EXPECT_FALSE(record.save(replayFileName(0), &error));
    EXPECT_EQ(notes.read("rep1"), "someone's notes");
}
