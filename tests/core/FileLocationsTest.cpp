#include "stage/FileLocations.h"
#include "game/InputRecord.h"
#include "stage/FileAccess.h"

#include "../TempFolder.h"

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
    const std::vector<std::string> expected = {"stage1", "stage2", "stage10", "stagea", "stageB"};
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
    std::filesystem::create_directory(workingFolderPath() + "stage2");
    TempFolder elsewhere;
    elsewhere.write("kept", "someone's file");
    std::filesystem::create_symlink(elsewhere.file("kept"), workingFolderPath() + "rep4");
    deleteWorkingFiles();
    for (const auto& name : own)
        EXPECT_FALSE(pathExists(workingFolderPath() + name)) << name;
    for (const auto& name : others)
        EXPECT_TRUE(pathExists(workingFolderPath() + name)) << name;
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

TEST_F(WorkingFolder, StartUpSweepsOnlyOldTemporaryFiles) {
    touch(".twirlstick-abcdefghij.tmp");
    touch(".twirlstick-0123456789.tmp");
    touch("stage1");
    const timespec old[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 120, 0}};
    for (const char* name : {".twirlstick-abcdefghij.tmp", "stage1"})
        ASSERT_EQ(utimensat(AT_FDCWD, (workingFolderPath() + name).c_str(), old, 0), 0);
    sweepTemporaryFiles();
    EXPECT_FALSE(pathExists(workingFolderPath() + ".twirlstick-abcdefghij.tmp"));
    EXPECT_TRUE(pathExists(workingFolderPath() + ".twirlstick-0123456789.tmp")); // a save may be writing it
    EXPECT_TRUE(pathExists(workingFolderPath() + "stage1"));
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
