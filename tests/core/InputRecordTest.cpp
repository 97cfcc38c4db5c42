#include "core/game/InputRecord.h"
#include "core/base/FileAccess.h"
#include "core/game/BestRun.h"
#include "core/game/MouseState.h"
#include "core/game/RecordRun.h"

#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <vector>

namespace {
// The run of 250 frames: right button held in frames 10-39, switches in frames 100 and 180.
InputRecord exampleRun() {
    InputRecord r;
    for (int f = 0; f < 250; ++f)
        r.append(f >= 10 && f < 40, f == 100 || f == 180);
    return r;
}

// A goal line at height 30 over the start: the bar turning in place reaches it in 15 frames.
Stage goalOverTheStart() {
    Stage stage;
    stage.addPoint({-100, 30});
    stage.addPoint({100, 30});
    stage.addSegment(0, 1, GOAL);
    return stage;
}
} // namespace

TEST(InputRecord, QuietFramesMakeNoEvents) {
    InputRecord r;
    for (int i = 0; i < 100; ++i)
        r.append(false, false);
    EXPECT_TRUE(r.events().empty());
    EXPECT_EQ(r.total(), 100);
    r.finish();
    ASSERT_EQ(r.events().size(), 1u);
    EXPECT_EQ(r.events()[0].kind, InputEvent::End);
    EXPECT_EQ(r.events()[0].frames, 100);
}

TEST(InputRecord, FastChangeAndSwitchInOneFrameGiveTwoEvents) {
    InputRecord r;
    r.append(true, true);
    ASSERT_EQ(r.events().size(), 2u);
    EXPECT_EQ(r.events()[0].kind, InputEvent::FastOn);
    EXPECT_EQ(r.events()[0].frames, 0);
    EXPECT_EQ(r.events()[1].kind, InputEvent::Switch);
    EXPECT_EQ(r.events()[1].frames, 0);
}

TEST(InputRecord, PlaybackYieldsExactlyWhatWasAppended) {
    std::mt19937 rng(7);
    std::vector<std::pair<bool, bool>> frames;
    InputRecord r;
    bool fast = false;
    for (int i = 0; i < 5000; ++i) {
        if (rng() % 40 == 0) fast = !fast;
        const bool sw = i == 0 || rng() % 25 == 0;
        frames.push_back({fast, sw});
        r.append(fast, sw);
    }
    r.finish();
    r.rewind();
    for (const auto& [f, s] : frames) {
        ASSERT_TRUE(r.hasFramesLeft());
        const InputFlags got = r.readNext();
        ASSERT_EQ(got.fast, f);
        ASSERT_EQ(got.switchPivot, s);
    }
    EXPECT_FALSE(r.hasFramesLeft());
}

TEST(InputRecord, TheExampleRunSavesAsFiveLinesAndLoadsBack) {
    TempFolder dir;
    ASSERT_TRUE(exampleRun().save(dir.file("rep1")));
    EXPECT_EQ(dir.read("rep1"), "\xEF\xBB\xBF"
                                "250\r\n1 10\r\n2 30\r\n0 60\r\n0 80\r\n");
    InputRecord loaded;
    loaded.load(dir.file("rep1"), 250);
    EXPECT_EQ(loaded.total(), 250);
    ASSERT_EQ(loaded.events().size(), 4u);
    for (int f = 0; f < 250; ++f) {
        const InputFlags got = loaded.readNext();
        EXPECT_EQ(got.fast, f >= 10 && f < 40) << f;
        EXPECT_EQ(got.switchPivot, f == 100 || f == 180) << f;
    }
}

TEST(InputRecord, EmptyLinesAndAMissingMarkDoNotMatter) {
    InputRecord a, b;
    a.parse("250\n\n1 10\n\n\n2 30\r\n0 60\n0 80");
    b.parse("\xEF\xBB\xBF"
            "250\r\n1 10\r\n2 30\r\n0 60\r\n0 80\r\n");
    ASSERT_EQ(a.events().size(), 4u);
    ASSERT_EQ(b.events().size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(a.events()[i].kind, b.events()[i].kind);
        EXPECT_EQ(a.events()[i].frames, b.events()[i].frames);
    }
    InputRecord missing;
    missing.load("/no/such/replay", INT32_MAX);
    EXPECT_EQ(missing.total(), 0);
    EXPECT_TRUE(missing.events().empty());
}

TEST(InputRecord, DamagedFilesKeepTheEventsBeforeTheDamage) {
    InputRecord r;
    r.parse("100\n1 10\n7 5\n0 5\n");
    EXPECT_EQ(r.events().size(), 1u); // unknown kind ends the list
    r.parse("100\n1 10\n0 -5\n");
    EXPECT_EQ(r.events().size(), 1u); // negative gap
    r.parse("-50\n0 1\n");
    EXPECT_EQ(r.total(), 0);
    r.parse("100\n0 60\n0 60\n");
    EXPECT_EQ(r.events().size(), 1u); // gaps beyond the run's length
    r.parse("99999999999999\n0 1\n");
    EXPECT_EQ(r.total(), 0);
    r.parse("10\nabc\n0 1\n");
    EXPECT_TRUE(r.events().empty());
}

TEST(InputRecord, MillionsOfZeroGapEventsStayBoundedPerFrame) {
    std::string text = "3\n";
    for (int i = 0; i < 1'000'000; ++i)
        text += "0 0\n";
    InputRecord r;
    r.parse(text);
    EXPECT_LE(r.events().size(), 7u); // at most two events per frame, plus the end
    for (int i = 0; i < 3; ++i)
        r.readNext();
    EXPECT_EQ(r.played(), 3);
}

TEST(InputRecord, TheFileCapFollowsTheLongestRunAndTheWriterKeepsToIt) {
    // Every frame of a 60-second run switching and changing speed: the largest file such a run makes.
    InputRecord busiest;
    for (int f = 0; f < 3600; ++f)
        busiest.append(f % 2 == 0, true);
    TempFolder dir;
    ASSERT_TRUE(busiest.save(dir.file("rep1")));
    EXPECT_LE(dir.read("rep1").size(), maxReplayFileBytes(3600));
    InputRecord back;
    std::error_code error;
    back.load(dir.file("rep1"), 3600, &error);
    EXPECT_FALSE(error);
    EXPECT_EQ(back.events().size(), busiest.events().size());
    EXPECT_LT(maxReplayFileBytes(3600), 100'000u);
    EXPECT_EQ(maxReplayFileBytes(INT32_MAX), 16u * 1024 * 1024);
    dir.write("rep2", "3600\r\n" + std::string(maxReplayFileBytes(3600), '\n'));
    back.load(dir.file("rep2"), 3600, &error);
    EXPECT_EQ(error, FileError::TooLarge);
}

TEST(InputRecord, ARunWithNoInputLeftSettlesAfterOneTurn) {
    Stage stage;
    stage.timeLimit = INT32_MAX;
    stage.addPoint({500, 500});
    stage.addPoint({600, 500});
    stage.addSegment(0, 1, WALL);
    InputRecord record;
    record.parse("2147483580\r\n0 5\r\n");
    RecordRunResult run = runRecord(stage, record);
    EXPECT_EQ(run.outcome, FrameOutcome::Continue); // the record ends before the time
    EXPECT_EQ(run.frames, 2147483580);
    EXPECT_LT(record.played(), 200);
    stage.timeLimit = 100'000;
    record.parse("50000000\r\n1 10\r\n0 20\r\n");
    run = runRecord(stage, record);
    EXPECT_EQ(run.outcome, FrameOutcome::TimeOut);
    EXPECT_EQ(run.frames, 6'000'000);
    EXPECT_LT(record.played(), 250);
    stage.addPoint({30, 0}); // within reach of the bar turning about the start
    stage.addPoint({30, 40});
    stage.addSegment(2, 3, GOAL);
    record.parse("50000\r\n");
    run = runRecord(stage, record);
    EXPECT_EQ(run.outcome, FrameOutcome::Goal);
    EXPECT_LT(run.frames, 180);
}

TEST(InputRecord, ABestRunIsReadOncePerStageNotPerAttempt) {
    Stage stage = goalOverTheStart();
    TempFolder dir;
    dir.write("rep1", "15\r\n"); // the bar turns in place up to the goal: 30 degrees, 15 frames
    std::string problem;
    ASSERT_TRUE(loadBestRun(dir.file("rep1"), stage, problem));
    // Rewritten in place with the same size and time: the next attempt takes the run it already has.
    struct stat before {};
    ASSERT_EQ(stat(dir.file("rep1").c_str(), &before), 0);
    std::string forged = dir.read("rep1");
    forged[1] = '9'; // "19": no clear as claimed
    std::ofstream(dir.file("rep1"), std::ios::binary | std::ios::in) << forged;
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, dir.file("rep1").c_str(), times, 0), 0);
    const std::unique_ptr<InputRecord> again = loadBestRun(dir.file("rep1"), stage, problem);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->total(), 15);
    EXPECT_TRUE(problem.empty());
}

// Kept aside when a clear is about to replace it, and only then: the stage select reads every run.
TEST(InputRecord, ABestRunOfTheStageBeforeItChangedIsKeptUnderAnOldName) {
    Stage stage = goalOverTheStart();
    TempFolder dir;
    dir.write("rep1", "15\r\n"); // a clear of the goal line at height 30
    std::string problem;
    std::error_code error;
    const auto replace = [&] { return saveBestRun(dir.file("rep1"), stage, InputRecord{}, error); };
    ASSERT_TRUE(loadBestRun(dir.file("rep1"), stage, problem));
    stage.points[0].y = stage.points[1].y = 45.0f; // the stage changed: the goal moved up
    EXPECT_FALSE(loadBestRun(dir.file("rep1"), stage, problem));
    const auto isKept = [](const std::filesystem::directory_entry& e) {
        return e.path().filename().string().starts_with("rep1.old-");
    };
    EXPECT_EQ(std::count_if(std::filesystem::directory_iterator(dir.path()), {}, isKept), 0);
    ASSERT_TRUE(replace());
    const auto kept = std::find_if(std::filesystem::directory_iterator(dir.path()), {}, isKept);
    ASSERT_NE(kept, std::filesystem::directory_iterator());
    EXPECT_EQ(dir.read(kept->path().filename().string()), "15\r\n");

    // Refused again: a file standing at the kept name stays as it was, another content is kept beside it.
    const std::string keptName = kept->path().filename().string();
    dir.write(keptName, "mine");
    dir.write("rep1", "15\r\n");
    ASSERT_TRUE(replace());
    dir.write("rep1", "15\r\n" + std::string(100000, '\n')); // too large for the stage: refused unread
    ASSERT_TRUE(replace());
    EXPECT_EQ(dir.read(keptName), "mine");
    EXPECT_EQ(std::count_if(std::filesystem::directory_iterator(dir.path()), {}, isKept), 2);

    // A link in place of the run is moved aside whole, never followed to copy what it names.
    TempFolder other;
    other.write("run", "16\r\n");
    std::filesystem::remove(dir.file("rep1"));
    std::filesystem::create_symlink(other.file("run"), dir.file("rep1"));
    ASSERT_TRUE(replace());
    EXPECT_EQ(std::count_if(std::filesystem::directory_iterator(dir.path()), {}, isKept), 3);
    EXPECT_EQ(other.read("run"), "16\r\n");
    std::filesystem::create_directory(dir.file("rep1.new"));
    EXPECT_FALSE(saveBestRun(dir.file("rep1.new"), stage, InputRecord{}, error)); // and a folder: no record
}

TEST(MouseState, CursorMapsFromPixelsToCentredViewUnits) {
    const Vec2 p = CursorToView(1000, 500, {1600, 1200, 2.0f});
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, 50);
    const Vec2 outside = CursorToView(-10, 0, {800, 600, 1.0f});
    EXPECT_EQ(outside.x, -410); // not clamped
    EXPECT_EQ(outside.y, 300);
}

TEST(MouseState, WheelHandsOutWholeNotchesAndKeepsTheRest) {
    std::int32_t acc = 250;
    EXPECT_EQ(TakeWheelNotches(acc), 2);
    EXPECT_EQ(acc, 10);
    acc = -130;
    EXPECT_EQ(TakeWheelNotches(acc), -1);
    EXPECT_EQ(acc, -10);
    acc = 119;
    EXPECT_EQ(TakeWheelNotches(acc), 0);
    EXPECT_EQ(acc, 119);
}
