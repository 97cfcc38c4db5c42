#include "core/stage/StageFile.h"
#include "core/base/FileAccess.h"

#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {
const std::string ExampleFile = "\xEF\xBB\xBFTITLE untitled\r\nTIMELIMIT 30\r\nINITPOS 0 -100 0\r\n"
                                "CAMPOS 0 0 1\r\nPOINT -100 0 100 0 100 100\r\nWALL 0 1\r\nGOAL 1 2\r\n";

Stage exampleStage() {
    Stage s;
    s.timeLimit = 30;
    s.initialPivot = {0, -100};
    s.addPoint({-100, 0});
    s.addPoint({100, 0});
    s.addPoint({100, 100});
    s.addSegment(0, 1, WALL);
    s.addSegment(1, 2, GOAL);
    return s;
}

Stage loadText(const TempFolder& dir, const std::string& text) {
    dir.write("s", text);
    Stage s;
    loadStage(dir.file("s"), s);
    return s;
}
} // namespace

TEST(StageFile, TheExampleIsWrittenByteForByteAndReadBack) {
    TempFolder dir;
    Stage s = exampleStage();
    ASSERT_TRUE(saveStage(dir.file("example"), s));
    EXPECT_EQ(dir.read("example"), ExampleFile);
    Stage back;
    loadStage(dir.file("example"), back);
    EXPECT_EQ(back.title, u"untitled");
    EXPECT_EQ(back.timeLimit, 30);
    EXPECT_EQ(back.initialPivot, (Vec2{0, -100}));
    EXPECT_EQ(back.pointCount(), 3);
    EXPECT_EQ(back.points[2], (Vec2{100, 100}));
    EXPECT_EQ(back.segments[1].kind, GOAL);
    EXPECT_EQ(back.segments[1].low, 1);
    EXPECT_EQ(back.segments[1].high, 2);
    EXPECT_EQ(back.segmentCount(), 2);
}

TEST(StageFile, SavingCompactsPointNumbers) {
    TempFolder dir;
    Stage s;
    for (int i = 0; i < 10; ++i)
        s.addPoint({float(i), 0});
    for (int i = 0; i < 10; ++i)
        if (i != 0 && i != 5 && i != 9) s.deletePoint(i);
    s.addSegment(5, 9, WALL);
    ASSERT_TRUE(saveStage(dir.file("s"), s));
    const std::string text = dir.read("s");
    EXPECT_NE(text.find("POINT 0 0 5 0 9 0\r\n"), std::string::npos);
    EXPECT_NE(text.find("WALL 1 2\r\n"), std::string::npos);
}

TEST(StageFile, NumbersUseSixDigitsAndThreeDigitExponents) {
    EXPECT_EQ(formatStageNumber(1234567.0), "1.23457e+006");
    EXPECT_EQ(formatStageNumber(0.00001), "1e-005");
    EXPECT_EQ(formatStageNumber(-12.5), "-12.5");
    EXPECT_EQ(formatStageNumber(1.0), "1");
    TempFolder dir;
    Stage back = loadText(dir, "\xEF\xBB\xBFPOINT 1.23457e+006 0\r\n");
    EXPECT_EQ(back.points[0].x, 1234570.0f);
}

TEST(StageFile, TitlesKeepTheirBlanksAndNonAsciiText) {
    TempFolder dir;
    Stage s;
    s.title = u"二つの 言葉  and more";
    ASSERT_TRUE(saveStage(dir.file("s"), s));
    Stage back;
    loadStage(dir.file("s"), back);
    EXPECT_EQ(back.title, s.title);
    EXPECT_EQ(loadText(dir, "TITLE\r\n").title, u"");
}

TEST(StageFile, AByteOrderMarkIsOptionalAndLineEndsMayCarryExtraReturns) {
    TempFolder dir;
    const Stage s = loadText(dir, "TITLE plain\nTIMELIMIT 12\n");
    EXPECT_EQ(s.title, u"plain");
    EXPECT_EQ(s.timeLimit, 12);
    // A file passed twice through a line-ending conversion: the numbers and the title still read.
    const Stage twice = loadText(dir, "TITLE plain\r\r\nTIMELIMIT 12\r\r\nPOINT 1 2\r\r\n");
    EXPECT_EQ(twice.title, u"plain");
    EXPECT_EQ(twice.timeLimit, 12);
    EXPECT_EQ(twice.pointCount(), 1);
}

TEST(StageFile, PointLinesMakeWholePairsOnly) {
    TempFolder dir;
    EXPECT_EQ(loadText(dir, "POINT 1 2 3 4   \r\n").pointCount(), 2);  // trailing blanks: no extra point
    EXPECT_EQ(loadText(dir, "POINT 1 2 3\r\n").pointCount(), 1);       // a lone x
    EXPECT_EQ(loadText(dir, "POINT 1 2 x 4 5 6\r\n").pointCount(), 1); // stops at a word that is no number
    EXPECT_EQ(loadText(dir, "POINT 1 nan 5 6\r\n").pointCount(), 0);
    std::string many = "POINT";
    for (int i = 0; i < 600; ++i) { // appended in pieces: `" " + std::string&&` trips GCC 12's -Wrestrict
        many += ' ';
        many += std::to_string(i);
        many += " 0";
    }
    EXPECT_EQ(loadText(dir, many + "\r\n").pointCount(), MaxPoints);
}

TEST(StageFile, SegmentLinesMustNamePointsThatWereRead) {
    TempFolder dir;
    const Stage s = loadText(dir, "GOAL 3 1\nWALL 1 3\nWALL 0 600\nWALL 2 9\nWALL 0 -1\nWALL 2 2\n"
                                  "POINT 0 0 1 1 2 2 3 3\nGOAL 0 2 extra words\n");
    EXPECT_EQ(s.segmentCount(), 2); // lines may come before the points they name
    EXPECT_EQ(s.segments[0].kind, GOAL);
    EXPECT_EQ(s.segments[0].low, 1);
    EXPECT_EQ(s.segments[0].high, 3);
    EXPECT_EQ(s.segments[1].low, 0);
    EXPECT_EQ(s.segments[1].high, 2);
}

TEST(StageFile, OtherLinesAndBadNumbersLeaveDefaults) {
    TempFolder dir;
    const Stage s =
        loadText(dir, "\n\nHELLO 1 2\nTIMELIMIT abc\nINITPOS 5 x 7\nCAMPOS 1 2\nTIMELIMIT 99999999999\n");
    EXPECT_EQ(s.timeLimit, 60);
    EXPECT_EQ(s.initialPivot, (Vec2{5, 0}));
    EXPECT_EQ(s.initialAngle, 0.0f);
    EXPECT_EQ(s.startCamera.x, 1.0f);
    EXPECT_EQ(s.startCamera.y, 2.0f);
    EXPECT_EQ(s.startCamera.zoom, 1.0f);
    Stage missing;
    missing.addPoint({1, 1});
    loadStage(dir.file("does-not-exist"), missing);
    EXPECT_EQ(missing.pointCount(), 0);
    EXPECT_EQ(missing.title, u"untitled");
}

TEST(StageFile, AFailedSaveLeavesTheOldFile) {
    TempFolder dir;
    Stage s = exampleStage();
    ASSERT_TRUE(saveStage(dir.file("s"), s));
    Stage other;
    EXPECT_FALSE(saveStage(dir.file("no-such-folder/s"), other));
    EXPECT_EQ(dir.read("s"), ExampleFile);
}

TEST(StageFile, TitlesAreReadWholeAsStoredAndTheLargestStageReadsBack) {
    TempFolder dir;
    const std::string kanji = "\xE5\xAD\x97"; // 字
    std::string title;
    for (int i = 0; i < 1100; ++i)
        title += kanji;
    Stage cut = loadText(dir, "TITLE " + title + "\r\n");
    EXPECT_EQ(cut.title, std::u16string(MaxStoredTitleUnits, u'字'));
    // A pair that would straddle the cut goes whole, and the blank before it is dropped too.
    const std::string pairAtCut = std::string(MaxStoredTitleUnits - 2, 'a') + " \xF0\x9F\x98\x80";
    EXPECT_EQ(loadText(dir, "TITLE " + pairAtCut + "\r\n").title,
              std::u16string(MaxStoredTitleUnits - 2, u'a'));
    // Longer than the title box, with control characters inside: read whole, and saved again
    // byte for byte.
    const std::string stored =
        "\xEF\xBB\xBFTITLE " + std::string(600, 'x') +
        "\x01 tab\there\rCR\r\nTIMELIMIT 60\r\nINITPOS 0 0 0\r\nCAMPOS 0 0 1\r\nPOINT\r\n";
    Stage whole = loadText(dir, stored);
    EXPECT_EQ(whole.title, std::u16string(600, u'x') + u"\x01 tab\there\rCR");
    ASSERT_TRUE(saveStage(dir.file("again"), whole));
    EXPECT_EQ(dir.read("again"), stored);

    Stage largest;
    largest.title = cut.title;
    largest.timeLimit = INT32_MIN;
    for (int i = 0; i < MaxPoints; ++i)
        largest.addPoint({-1.23457e+30f, -1.23457e-30f});
    for (int i = 0; i + 1 < MaxPoints; ++i)
        largest.addSegment(i, i + 1, GOAL);
    ASSERT_TRUE(saveStage(dir.file("largest"), largest));
    Stage back;
    std::error_code error;
    loadStage(dir.file("largest"), back, &error);
    EXPECT_FALSE(error);
    EXPECT_EQ(back.title, largest.title);
    EXPECT_EQ(back.segmentCount(), MaxPoints - 1);
    dir.write("huge", std::string(MaxStageFileBytes + 1, ' '));
    loadStage(dir.file("huge"), back, &error);
    EXPECT_EQ(error, FileError::TooLarge);
}

TEST(StageFile, TheWriterRefusesWhatWouldNotReadBack) {
    TempFolder dir;
    const auto refusal = [&](Stage s) {
        std::error_code error;
        EXPECT_FALSE(saveStage(dir.file("s"), s, &error));
        return error;
    };
    Stage longTitle;
    longTitle.title.assign(MaxStoredTitleUnits + 1, u'x');
    EXPECT_EQ(refusal(longTitle), StageError::TitleTooLong);
    Stage brokenTitle;
    for (const std::u16string title : {u"two\nlines", u" outer blank", u"tab\t", u"lone \xD800"}) {
        brokenTitle.title = title;
        EXPECT_EQ(refusal(brokenTitle), StageError::TitleNotStorable);
    }
    Stage far;
    far.addPoint({INFINITY, 0});
    EXPECT_EQ(refusal(far), StageError::NumberNotFinite);
    EXPECT_TRUE(dir.read("s").empty()); // nothing was written
}

// What the file says decides: an empty stage the game wrote is a stage, an emptied or foreign file is not.
TEST(StageFile, AnEmptyStageTheGameWroteIsAStageAndJunkIsNot) {
    TempFolder dir;
    Stage stage;
    std::error_code error;
    for (const char* text : {"", " \r\n", "some notes\n", "\x89PNG\r\n", "saved"}) {
        if (text == std::string("saved"))
            ASSERT_TRUE(saveStage(dir.file("file"), stage));
        else
            dir.write("file", text);
        EXPECT_EQ(loadStageFile(dir.file("file"), stage, error), text == std::string("saved")) << text;
    }
}
