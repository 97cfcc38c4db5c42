// What stands at a path the game reads or replaces is not always a plain file: FIFOs, folders,
// oversized files, links planted by someone else. None of them may hang, mislead or redirect it.
#include "core/base/FileAccess.h"
#include "core/game/InputRecord.h"
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"

#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
const std::string StageText = "TITLE planted\r\nTIMELIMIT 9\r\nPOINT 0 0 10 10\r\nWALL 0 1\r\n";
const std::string ReplayText = "\xEF\xBB\xBF"
                               "250\r\n1 10\r\n";

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

bool isLink(const std::string& path) {
    return fs::is_symlink(fs::symlink_status(path));
}

class GameFiles : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_DATA_HOME", data.path().c_str(), 1);
        ASSERT_TRUE(ensureWorkingFolder());
        elsewhere.write("notes", "the player's own notes");
    }
    std::string own(const std::string& name) const { return workingFolderPath() + name; }

    TempFolder data, elsewhere;
};
} // namespace

TEST(FileReading, NonRegularFilesAreRefusedWithoutWaiting) {
    TempFolder dir;
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
    fs::create_directory(dir.file("folder"));
    for (const char* name : {"fifo", "folder"}) {
        std::error_code error;
        Stage stage;
        stage.addPoint({1, 1});
        loadStage(dir.file(name), stage, &error); // a FIFO with no writer once froze the game here
        EXPECT_EQ(error, FileError::NotRegular) << name;
        EXPECT_EQ(stage.pointCount(), 0) << name;
        InputRecord record;
        record.load(dir.file(name), INT32_MAX, &error);
        EXPECT_EQ(error, FileError::NotRegular) << name;
        EXPECT_EQ(record.total(), 0) << name;
    }
    std::error_code error;
    Stage stage;
    loadStage(dir.file("missing"), stage, &error);
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
}

TEST(FileReading, SizeCapRefusesOrCuts) {
    TempFolder dir;
    dir.write("big", std::string(100, 'x'));
    std::error_code error;
    EXPECT_FALSE(readRegularFile(dir.file("big"), {99, true, false}, error));
    EXPECT_EQ(error, FileError::TooLarge);
    const auto cut = readRegularFile(dir.file("big"), {40, true, true}, error);
    ASSERT_TRUE(cut);
    EXPECT_FALSE(error);
    EXPECT_EQ(cut->size(), 40u);
    const auto whole = readRegularFile(dir.file("big"), {100, true, false}, error);
    ASSERT_TRUE(whole);
    EXPECT_EQ(*whole, std::string(100, 'x'));
}

TEST_F(GameFiles, LinksAreFollowedForShippedDataButNotInTheWorkingFolder) {
    elsewhere.write("stage", StageText);
    elsewhere.write("rep", ReplayText);
    fs::create_symlink(elsewhere.file("stage"), elsewhere.file("linked-stage"));
    Stage stage;
    loadStage(elsewhere.file("linked-stage"), stage);
    EXPECT_EQ(stage.title, u"planted"); // an installed copy may link its data files

    fs::create_symlink(elsewhere.file("stage"), own("tempstage"));
    fs::create_symlink(elsewhere.file("rep"), own("rep1"));
    std::error_code error;
    loadStage(own("tempstage"), stage, &error);
    EXPECT_EQ(error, FileError::Link);
    EXPECT_EQ(stage.title, u"untitled");
    InputRecord record;
    record.load(replayFileName(0), INT32_MAX, &error);
    EXPECT_EQ(error, FileError::Link);
    EXPECT_EQ(record.total(), 0);
}

TEST_F(GameFiles, APlantedLinkNeverRedirectsASave) {
    // Links at the names a save once used for its temporary file, and at the target itself.
    for (const char* name : {"rep1.writing", "rep1.tmp", "rep1~", ".rep1.tmp"})
        fs::create_symlink(elsewhere.file("notes"), own(name));
    InputRecord record;
    record.append(false, true);
    std::error_code error;
    ASSERT_TRUE(record.save(replayFileName(0), &error)) << error.message();
    EXPECT_EQ(elsewhere.read("notes"), "the player's own notes");
    EXPECT_FALSE(isLink(replayFileName(0)));

    fs::remove(replayFileName(0));
    fs::create_symlink(elsewhere.file("notes"), replayFileName(0));
    ASSERT_TRUE(record.save(replayFileName(0), &error)) << error.message();
    EXPECT_EQ(elsewhere.read("notes"), "the player's own notes");
    EXPECT_FALSE(isLink(replayFileName(0)));
    InputRecord back;
    back.load(replayFileName(0), INT32_MAX);
    EXPECT_EQ(back.total(), 1);
}

TEST_F(GameFiles, AFailedSaveSaysWhyAndLeavesNothingBehind) {
    Stage stage;
    std::error_code error;
    EXPECT_FALSE(saveStage(own("no-such-folder/stage1"), stage, &error));
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);

    // A folder in the target's place: the rename fails after the data was written.
    fs::create_directory(own("stage1"));
    std::ofstream(own("stage1/kept")) << "x";
    const std::set<std::string> before = namesIn(workingFolderPath());
    EXPECT_FALSE(saveStage(own("stage1"), stage, &error));
    EXPECT_TRUE(error);
    EXPECT_EQ(namesIn(workingFolderPath()), before);
    EXPECT_TRUE(fs::exists(own("stage1/kept")));
}

TEST_F(GameFiles, AFolderOfAnotherUserIsNotWrittenUnlessSticky) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to hand a folder to another user";
    const fs::path shared = elsewhere.path() / "shared";
    fs::create_directory(shared);
    ASSERT_EQ(chown(shared.c_str(), 65534, 65534), 0);
    ASSERT_EQ(chmod(shared.c_str(), 0777), 0);
    InputRecord record;
    std::error_code error;
    EXPECT_FALSE(record.save((shared / "rep1").string(), &error));
    EXPECT_EQ(error, FileError::FolderNotOwned);
    EXPECT_TRUE(namesIn(shared).empty());
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0); // as /tmp: no one may swap our files there
    EXPECT_TRUE(record.save((shared / "rep1").string(), &error)) << error.message();
}

TEST_F(GameFiles, ANewFileNeverTakesTheNameOfWhatIsThere) {
    fs::create_symlink(elsewhere.file("notes"), own("stage2"));
    fs::create_directory(own("stage3"));
    std::ofstream(own("stage4")) << "kept";
    const std::set<std::string> before = namesIn(workingFolderPath());
    for (const char* name : {"stage2", "stage3", "stage4"}) {
        std::error_code error;
        EXPECT_FALSE(createFileAtomically(own(name), StageText, &error)) << name;
        EXPECT_EQ(error, std::errc::file_exists) << name;
    }
    EXPECT_EQ(namesIn(workingFolderPath()), before); // no temporary file left either
    EXPECT_EQ(elsewhere.read("notes"), "the player's own notes");
    ASSERT_TRUE(createFileAtomically(own("stage5"), StageText));
    EXPECT_EQ(namesIn(workingFolderPath()).size(), before.size() + 1);
}
