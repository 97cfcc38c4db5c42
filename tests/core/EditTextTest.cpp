#include "core/editor/EditText.h"
#include "core/base/FileAccess.h"
#include "core/stage/StageFile.h"
#include "core/stage/StageNames.h"
#include "core/stage/StageTitle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

TEST(EditText, TitlesLoseControlCharactersAndOuterBlanks) {
    EXPECT_EQ(storableTitle(u"plain"), u"plain");
    EXPECT_EQ(storableTitle(u"a\r\nb\tc\x7F\x85"
                            u"d"),
              u"abcd");
    EXPECT_EQ(storableTitle(u"  two words  "), u"two words");
    EXPECT_EQ(storableTitle(u"\u3000全角\u3000"), u"\u3000全角\u3000"); // not a separator in the file
    EXPECT_EQ(storableTitle(u"a\u2028b\u2029c"), u"abc");
    EXPECT_EQ(storableTitle(u"\U0001F600"), u"\U0001F600");
    const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC00, 0};
    EXPECT_EQ(storableTitle(lone), u"ab");
    EXPECT_EQ(storableTitle(u" \n "), u"");
}

TEST(EditText, TimeLimitsReadTheLeadingNumber) {
    EXPECT_EQ(parseTimeLimit(u"90"), 90);
    EXPECT_EQ(parseTimeLimit(u"45abc"), 45);
    EXPECT_EQ(parseTimeLimit(u"  -7 s"), -7);
    EXPECT_EQ(parseTimeLimit(u"+0"), 0);
    EXPECT_EQ(parseTimeLimit(u"１２０秒"), 120);
    EXPECT_EQ(parseTimeLimit(u"abc"), std::nullopt);
    EXPECT_EQ(parseTimeLimit(u""), std::nullopt);
    EXPECT_EQ(parseTimeLimit(u"-"), std::nullopt);
    EXPECT_EQ(parseTimeLimit(u"2147483647"), 2147483647);
    EXPECT_EQ(parseTimeLimit(u"2147483648"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(parseTimeLimit(u"-2147483649"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(parseTimeLimit(u"99999999999999999999999999999"), std::numeric_limits<std::int32_t>::max());
}

TEST(EditText, LongPathsBreakAfterASlash) {
    EXPECT_EQ(wrapPath(u"/home/a/stage1", 40), u"/home/a/stage1");
    EXPECT_EQ(wrapPath(u"/home/someone/.local/share/TWIRLSTICK_FILES/stage1", 30),
              u"/home/someone/.local/share/\nTWIRLSTICK_FILES/stage1");
    EXPECT_EQ(wrapPath(u"/abcdefghij", 4), u"/abc\ndefg\nhij");
    const std::u16string wrapped = wrapPath(std::u16string(100, u'x'), 40);
    EXPECT_EQ(wrapped,
              std::u16string(40, u'x') + u"\n" + std::u16string(40, u'x') + u"\n" + std::u16string(20, u'x'));
}

TEST(EditText, FileErrorsInThePlayersWords) {
    const auto denied = std::make_error_code(std::errc::permission_denied);
    EXPECT_EQ(describeFileError(denied, true), u"書き込みが許可されていません");
    EXPECT_EQ(describeFileError(denied, false), u"読み込みが許可されていません");
    EXPECT_EQ(describeFileError(FileError::TooLarge, false), u"ファイルが大きすぎます");
    EXPECT_EQ(describeFileError(FileError::NotRegular, false), u"普通のファイルではありません");
    EXPECT_EQ(describeFileError(StageError::NotAStage, false), u"ステージのファイルではありません");
    EXPECT_EQ(describeFileError({}, true), u"原因不明のエラー");
}

TEST(StageNames, EditedStagesAndTheirOrder) {
    EXPECT_TRUE(isEditedStageName("stage3"));
    EXPECT_FALSE(isEditedStageName("stageB")); // the game never gives that name, and reset-all keeps it
    EXPECT_FALSE(isEditedStageName("stage1.bak"));
    EXPECT_FALSE(isEditedStageName("stage"));
    EXPECT_FALSE(isEditedStageName("tempstage"));
    EXPECT_FALSE(isEditedStageName("stage3.writing"));
    EXPECT_FALSE(isEditedStageName("stage3.tmp"));
    EXPECT_FALSE(isEditedStageName("Stage3"));

    std::vector<std::string> names{"stage10", "stage2",  "stageB",   "stage1",
                                   "stagea",  "stage02", "stage10a", "stage99999999999999999999",
                                   "stage9"};
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return naturalLess(a, b); });
    const std::vector<std::string> expected{
        "stage1", "stage02", "stage2", "stage9", "stage10", "stage10a", "stage99999999999999999999",
        "stagea", "stageB"};
    EXPECT_EQ(names, expected);
}
