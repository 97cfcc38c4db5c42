// The online records' data rules: content ids, player names and the run check.
#include "core/game/RunCheck.h"
#include "core/online/ContentId.h"
#include "core/online/PlayerName.h"
#include "core/online/Sha256.h"
#include "core/stage/StageFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

TEST(Sha256, MatchesTheStandardsVectors) {
    EXPECT_EQ(sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(sha256Hex(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    EXPECT_EQ(stageContentId("abc"), "ba7816bf8f01cfea414140de5dae2223");
    EXPECT_TRUE(isStageContentId(stageContentId("x")));
    EXPECT_FALSE(isStageContentId("../../etc/passwd"));
}

TEST(PlayerName, TakesLettersOfAnyScriptDigitsSpaceDashUnderscore) {
    for (const char* good : {"a", "Ann-Marie_2", "たろう", "Ελένη", "Дмитрий", "김민준", "محمد", "José Luis",
                             "二十四文字二十四文字二十四文字二十四文字二十四文"})
        EXPECT_TRUE(isValidPlayerName(good)) << good;
    for (const std::string& bad :
         {std::string(""), std::string(" a"), std::string("a "), std::string("a  b"), std::string("a\tb"),
          std::string("a\x01"), std::string("a\0b", 3), std::string("<script>"),
          std::string("'; DROP TABLE players;--"), std::string("\xC0\xAF"), std::string("\xED\xA0\x80"),
          std::string("a\u200Bb"), std::string(25, 'a'), std::string(10000, 'a'), std::string("😀")})
        EXPECT_FALSE(isValidPlayerName(bad)) << bad;
}

TEST(PlayerName, KeysIgnoreCase) {
    EXPECT_EQ(playerNameKey("AnnA"), playerNameKey("anna"));
    EXPECT_EQ(playerNameKey("ÉLODIE"), playerNameKey("élodie"));
    EXPECT_EQ(playerNameKey("ΣΟΦΊΑ"), playerNameKey("σοφία"));
    EXPECT_EQ(playerNameKey("ДИМА"), playerNameKey("дима"));
    EXPECT_EQ(playerNameKey("ＡＢＣ"), playerNameKey("abc"));
    EXPECT_NE(playerNameKey("たろう"), playerNameKey("タロウ"));
}

namespace {
Stage shipped(int n) {
    Stage stage;
    loadStage(std::string(DATA_DIR) + "/stage" + std::to_string(n), stage);
    return stage;
}
std::string solution(int n) {
    std::ifstream in(std::string(DATA_DIR) + "/solutions/stage" + std::to_string(n) + ".rep",
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
} // namespace

TEST(RunCheck, ClearsTheShippedRoutesAndRefusesForgeries) {
    const Stage stage1 = shipped(1);
    const std::string route = solution(1);
    const RunVerdict good = checkRun(stage1, route);
    ASSERT_TRUE(good.cleared) << good.reason;
    EXPECT_EQ(checkRun(stage1, route.substr(3)).frames, good.frames) << "the BOM is optional";
    EXPECT_FALSE(checkRun(shipped(2), route).cleared) << "another stage's run";
    EXPECT_EQ(checkRun(stage1, "").reason, "not a replay file");
    EXPECT_EQ(checkRun(stage1, "2147483648\r\n3 0\r\n").reason, "not a replay file");
    EXPECT_EQ(checkRun(stage1, "2147483647\r\n3 2147483647\r\n").reason.find("past the time limit") !=
                  std::string::npos,
              true);
    EXPECT_EQ(checkRun(stage1, "100\r\n3 100\r\n").reason, "not a clear") << "no input: turns in place";
    EXPECT_EQ(checkRun(stage1, std::string(8 * 1024 * 1024, '1')).reason, "too large");
    // A claimed total that is not the clear's frame: longer, and shorter (the record runs out).
    std::string longer = route;
    longer.replace(3, std::to_string(good.frames).size(), std::to_string(good.frames + 1));
    EXPECT_EQ(checkRun(stage1, longer).reason, "claims " + std::to_string(good.frames + 1) +
                                                   " frames but clears at frame " +
                                                   std::to_string(good.frames));
    Stage slow = stage1;
    slow.timeLimit = good.frames / 60;
    EXPECT_FALSE(checkRun(slow, route).cleared) << "a run past the stage's time limit";
}

TEST(RunCheck, PublishedStagesMustHoldAGoal) {
    std::string reason;
    Stage stage1 = shipped(1);
    EXPECT_TRUE(readPublishedStage(formatStage(stage1), reason)) << reason;
    EXPECT_FALSE(readPublishedStage("hello", reason));
    EXPECT_EQ(reason, "not a stage with a goal");
    EXPECT_FALSE(readPublishedStage(std::string(65 * 1024, ' '), reason));
    EXPECT_EQ(reason, "too large");
}
