#include "core/base/Utf.h"

#include <gtest/gtest.h>

TEST(Utf, RoundTripsJapaneseAndAstralText) {
    const std::u16string text = u"ステージ1 はじめの一歩 😀";
    EXPECT_EQ(toUtf16(toUtf8(text)), text);
    EXPECT_EQ(toUtf8(u"é"), "\xC3\xA9");
}

TEST(Utf, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(toUtf16("a\xFF"
                      "b"),
              u"a\uFFFDb");
    EXPECT_EQ(toUtf16("\xE3\x81"), u"\uFFFD");                              // cut short at the end
    EXPECT_EQ(toUtf16("\xC0\xAF"), u"\uFFFD");                              // overlong
    EXPECT_EQ(toUtf16("\xED\xA0\x80"), u"\uFFFD");                          // a surrogate in UTF-8
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD"); // lone high surrogate
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t(0xDC00)) + u"x"), "\xEF\xBF\xBDx");
}
