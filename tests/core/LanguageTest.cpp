#include "core/base/FileAccess.h"
#include "core/lang/LanguageChoice.h"
#include "core/lang/MoCatalog.h"
#include "core/lang/Translate.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace {
struct Choice {
    LocaleVariables variables; // LANGUAGE, LC_ALL, LC_MESSAGES, LANG
    const char* forced;
    const char* expected;
};

// Catalogs exist for en and en_GB only; ja is the game's own language.
const Choice Choices[] = {
    {{"", "", "", ""}, "", "ja"},
    {{"", "", "", "C"}, "", "ja"},
    {{"", "", "", "POSIX"}, "", "ja"},
    {{"", "", "", "C.UTF-8"}, "", "ja"},
    {{"en", "", "", "C.UTF-8"}, "", "ja"}, // gettext ignores LANGUAGE in the C locale
    {{"en", "", "", ""}, "", "ja"},
    {{"", "", "", "ja_JP.UTF-8"}, "", "ja"},
    {{"", "", "", "en_US.UTF-8"}, "", "en"}, // not installed here: only the name counts
    {{"", "", "", "en_GB.UTF-8@euro"}, "", "en_GB"},
    {{"", "", "", "de_DE.UTF-8"}, "", "en"}, // no catalog: English
    {{"", "", "", "@@@"}, "", "en"},
    {{"xx:::en_GB", "", "", "de_DE"}, "", "en_GB"},
    {{"de:ja:en", "", "", "fr_FR"}, "", "ja"},
    {{"../../etc:en", "", "", "fr_FR"}, "", "en"},
    {{"", "ja_JP.UTF-8", "en_US", "en_US"}, "", "ja"}, // LC_ALL first
    {{"", "", "ja_JP", "en_US"}, "", "ja"},            // then LC_MESSAGES
    {{"", "C", "", "en_US"}, "", "ja"},
    {{"", "", "", "ja_JP"}, "en", "en"},
    {{"", "", "", "en_US"}, "ja", "ja"},
    {{"", "", "", ""}, "de", "en"},
};

class Language : public ::testing::Test {
protected:
    void TearDown() override { LoadLanguage({}, OwnLanguage); }
};

std::string englishCatalog() {
    std::error_code error;
    return readRegularFile(catalogPath(LOCALE_DIR, "en"), {.maxBytes = 1 << 20}, error).value_or("");
}
} // namespace

TEST(LanguageChoice, FollowsGettextsOrderOfVariables) {
    const auto hasCatalog = [](std::string_view name) { return name == "en" || name == "en_GB"; };
    for (const Choice& c : Choices)
        EXPECT_EQ(chooseLanguage(c.variables, c.forced, hasCatalog), c.expected)
            << "LANGUAGE=" << c.variables.language << " LC_ALL=" << c.variables.lcAll
            << " LC_MESSAGES=" << c.variables.lcMessages << " LANG=" << c.variables.lang << " --language "
            << c.forced;
}

TEST(MoCatalog, ReadsTheBuiltCatalogAndRefusesEveryCutOfIt) {
    const std::string image = englishCatalog();
    const auto catalog = parseMoCatalog(image);
    ASSERT_TRUE(catalog);
    EXPECT_EQ(catalog->at(u"キャンセル"), u"Cancel");
    EXPECT_EQ(catalog->count(u""), 0u); // the header is no text
    // A cut anywhere leaves a table or a string outside the bytes; nothing is half read.
    for (std::size_t size = 0; size < image.size(); size += 7)
        EXPECT_FALSE(parseMoCatalog(image.substr(0, size))) << size;
    std::string hugeCount = image;
    hugeCount[8] = hugeCount[9] = hugeCount[10] = hugeCount[11] = '\xFF';
    EXPECT_FALSE(parseMoCatalog(hugeCount));
    EXPECT_FALSE(parseMoCatalog("msgid \"a\"\nmsgstr \"b\"\n"));
}

TEST_F(Language, ABrokenCatalogLeavesTheJapaneseTexts) {
    TempFolder folder;
    std::filesystem::create_directories(folder.path() / "en/LC_MESSAGES");
    std::filesystem::create_directories(folder.path() / "de/LC_MESSAGES/twirlstick.mo"); // not a file
    const std::string image = englishCatalog();
    for (const std::string& bytes :
         {std::string(), image.substr(0, image.size() / 2), std::string(64, 'x')}) {
        folder.write("en/LC_MESSAGES/twirlstick.mo", bytes);
        EXPECT_EQ(LoadLanguage({folder.path().string()}, "en"), "ja");
        EXPECT_EQ(tr(u"キャンセル"), u"キャンセル");
    }
    folder.write("en/LC_MESSAGES/twirlstick.mo", image);
    EXPECT_EQ(LoadLanguage({folder.file("missing"), folder.path().string()}, "de"), "en");
    EXPECT_EQ(tr(u"キャンセル"), u"Cancel");
    EXPECT_EQ(tr(u"no such id"), u"no such id");
    EXPECT_EQ(tr(u""), u"");
}
