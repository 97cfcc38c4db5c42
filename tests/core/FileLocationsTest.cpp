#include "stage/FileLocations.h"

#include "../TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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

TEST_F(WorkingFolder, DeleteRemovesFilesButKeepsTheFolder) {
    for (const char* name : {"stage1", "tempstage", "rep3"})
        touch(name);
    std::filesystem::create_directory(workingFolderPath() + "keep");
    deleteWorkingFiles();
    EXPECT_TRUE(listEditedStages().empty());
    EXPECT_FALSE(pathExists(workingFolderPath() + "rep3"));
    EXPECT_TRUE(pathExists(workingFolderPath() + "keep"));
    std::filesystem::remove_all(workingFolderPath());
    deleteWorkingFiles(); // a missing folder deletes nothing and does not fail
    EXPECT_EQ(nextNewStageName(), "stage1");
}
