// The online records' data rules: content ids, player names and the run check; and the game's
// side: a hostile server's answers, the unsent runs and the player's token.
#include "core/game/RunCheck.h"
#include "core/online/Answers.h"
#include "core/online/ContentId.h"
#include "core/online/PlayerName.h"
#include "core/online/RecordsClient.h"
#include "core/online/ServerAddress.h"
#include "core/online/Sha256.h"
#include "core/online/UnsentRuns.h"
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <tuple>

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

TEST(OnlineAnswers, ReadATrueAnswerAndRefuseAHostileOne) {
    const std::optional<online::TopRuns> top = online::parseTopRuns(
        R"({"runs": [{"id": 7, "name": "たろう", "frames": 1234, "date": "x"}], "rank": 3})");
    ASSERT_TRUE(top);
    EXPECT_EQ(top->runs.at(0).name, "たろう");
    EXPECT_EQ(top->runs[0].frames, 1234);
    EXPECT_EQ(top->rank, 3);
    std::string many = R"({"runs": [)";
    for (int i = 0; i <= online::MaxTopRuns; ++i)
        many += R"({"id": 1, "name": "a", "frames": 1},)";
    many.back() = ']';
    for (const std::string& bad :
         {std::string(""), std::string("<html>"), std::string("[]"), std::string(R"({"runs": 1})"),
          std::string(R"({"runs": [{"id": 1, "name": "a", "frames": 0}]})"),
          std::string(R"({"runs": [{"id": 1, "name": "a", "frames": 2147483648}]})"),
          std::string(R"({"runs": [{"id": 1, "name": "a\u0001", "frames": 5}]})"),
          std::string(R"({"runs": [{"id": -1, "name": "a", "frames": 5}]})"),
          std::string(R"({"runs": [], "rank": 0})"), std::string(R"({"runs": [], "rank": "1"})"),
          std::string(R"({"runs": [1.5]})"), std::string(100000, '[') + std::string(100000, ']'), many + "}",
          R"({"runs": [], "pad": ")" + std::string(online::MaxAnswerBytes, 'x') + "\"}"})
        EXPECT_FALSE(online::parseTopRuns(bad)) << bad.substr(0, 80);
    EXPECT_FALSE(online::parseStageList(R"({"stages": [{"id": "../../x", "title": "t"}]})"));
    EXPECT_FALSE(online::parseStageList(
        R"({"stages": [{"id": "0123456789abcdef0123456789abcdef", "title": "t", "number": 11}]})"));
    EXPECT_FALSE(online::parsePlayerClaim(R"({"name": "a", "token": "short"})"));
    EXPECT_EQ(online::parseRefusal(R"({"error": "wall at\nframe 9"})"), "wall at frame 9");
    EXPECT_LE(online::parseRefusal(R"({"error": ")" + std::string(5000, 'x') + "\"}").size(), 120u);
}

TEST(OnlineAnswers, ServerAddresses) {
    for (const char* good :
         {"http://127.0.0.1:8080", "https://records.example.org", "http://[::1]:9000", "http://a"})
        EXPECT_TRUE(online::isServerAddress(good)) << good;
    for (const char* bad :
         {"", "127.0.0.1:8080", "ftp://a", "http://", "http://a:0", "http://a:65536",
          "http://a:", "http://a/path", "http://user@a", "http://a b", "http://-a", "http://[::1"})
        EXPECT_FALSE(online::isServerAddress(bad)) << bad;
}

namespace {
class OnlineFolder : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_DATA_HOME", data.path().c_str(), 1);
        ASSERT_TRUE(ensureWorkingFolder());
    }
    // The one request the client made since the last look, answered as a server (or none) would.
    online::Request take(online::RecordsClient& client) {
        std::vector<online::Request> sent = client.TakeRequests();
        EXPECT_EQ(sent.size(), 1u);
        return sent.empty() ? online::Request{} : sent[0];
    }
    TempFolder data;
    const std::string stage = std::string(32, 'a');
    const std::string token = std::string(64, 'f');
};
} // namespace

// A best run made with the server away waits on disk; the name is asked on the first submit;
// the run leaves the queue only once the server has it.
TEST_F(OnlineFolder, ARunWaitsUntilTheServerHasIt) {
    online::RecordsClient client(online::DefaultServerAddress, true);
    client.SubmitBestRun(stage, "route");
    EXPECT_TRUE(client.WantsName());
    EXPECT_TRUE(client.TakeRequests().empty()) << "no run leaves without a name";
    EXPECT_EQ(online::unsentStageIds(), std::vector<std::string>{stage});

    client.ClaimName("Ann");
    const online::Request claim = take(client);
    EXPECT_EQ(claim.path, "/api/v1/players");
    client.Receive({claim.tag, 409, R"({"error": "the name is taken"})"});
    EXPECT_TRUE(client.WantsName());
    EXPECT_EQ(client.Line().status, online::Status::NameTaken);
    client.ClaimName("Ann");
    client.Receive({take(client).tag, 201, R"({"name": "Ann", "token": ")" + token + "\"}"});
    struct stat st {};
    ASSERT_EQ(stat(onlinePlayerPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(online::loadOnlinePlayer(online::DefaultServerAddress)->token, token);
    EXPECT_FALSE(online::loadOnlinePlayer("http://elsewhere")) << "a token is its server's";

    for (const online::Answer& lost :
         {online::Answer{0, 0, ""}, online::Answer{0, 503, ""}, online::Answer{0, 201, "garbage"}}) {
        const online::Request submit = take(client);
        EXPECT_EQ(submit.token, token);
        EXPECT_EQ(submit.body, "route");
        client.Receive({submit.tag, lost.status, lost.body});
        EXPECT_EQ(client.Line().status, online::Status::OutOfReach);
        EXPECT_EQ(online::unsentStageIds().size(), 1u);
        client.SendUnsent();
    }
    client.Receive({take(client).tag, 201, R"({"id": 4, "frames": 900, "rank": 2, "kept": true})"});
    EXPECT_EQ(client.Line().number, 2);
    EXPECT_TRUE(online::unsentStageIds().empty());
    const online::Request lookUp = take(client);
    EXPECT_EQ(lookUp.path, "/api/v1/stages/" + stage + "/runs?limit=1");
    client.Receive({lookUp.tag, 200, R"({"runs": [{"id": 3, "name": "Bo", "frames": 800}], "rank": 2})"});
    ASSERT_TRUE(client.Best(stage));
    EXPECT_EQ(client.Best(stage)->holder, "Bo");
    EXPECT_EQ(client.Best(stage)->rank, 2);
}

TEST_F(OnlineFolder, ARefusedRunWaitsNoLongerAndTheQueueIsBounded) {
    ASSERT_TRUE(online::saveOnlinePlayer({online::DefaultServerAddress, "Ann", token}));
    online::RecordsClient client(online::DefaultServerAddress, true);
    client.SubmitBestRun(stage, "forged");
    client.Receive({take(client).tag, 422, R"({"error": "not a clear"})"});
    EXPECT_EQ(client.Line().detail, "not a clear");
    EXPECT_TRUE(online::unsentStageIds().empty());
    std::error_code error;
    for (std::size_t i = 0; i < online::MaxUnsentRuns; ++i) {
        char id[33];
        std::snprintf(id, sizeof id, "%032zx", i);
        ASSERT_TRUE(online::keepUnsentRun(id, "r", error));
    }
    EXPECT_FALSE(online::keepUnsentRun(stage, "r", error));
    EXPECT_TRUE(online::keepUnsentRun(std::string(32, '0'), "better", error))
        << "a waiting stage's run is replaced";
    EXPECT_FALSE(online::keepUnsentRun(std::string(32, '1'),
                                       std::string(online::MaxSubmittedReplayBytes + 1, '1'), error));
}

// The published stages a page at a time, past the shipped ones the server lists first; the page
// shown stays whatever a server says next.
TEST_F(OnlineFolder, APageOfStagesStandsWhateverTheServerSays) {
    const auto list = [](int shipped, int count) {
        nlohmann::json stages = nlohmann::json::array();
        for (int i = 0; i < shipped + count; ++i)
            stages.push_back({{"id", std::string(24, 'a') + std::to_string(10000000 + i)},
                              {"title", "t" + std::to_string(i)},
                              {"number", i < shipped ? nlohmann::json(i + 1) : nlohmann::json()}});
        return nlohmann::json{{"stages", stages}}.dump();
    };
    online::RecordsClient client(online::DefaultServerAddress, false);
    for (int i = 0; i < int(online::RecordsClient::MaxInFlight); ++i)
        client.LookUp(std::to_string(i));
    client.ListStages(0); // it waits until one of those on their way is answered
    client.Receive({client.TakeRequests().at(0).tag, 404, ""});
    online::Request ask = take(client);
    EXPECT_EQ(ask.path, "/api/v1/stages?offset=0&limit=21");
    client.Receive({ask.tag, 200, list(3, 18)});
    EXPECT_EQ(client.Published()->stages.at(0).title, "t3");
    // Page 1 refused, then longer than asked, then past the end, then longer than any page.
    for (const auto& [status, body, page, more] :
         {std::tuple{503, std::string(), 0, true}, std::tuple{200, list(0, 150), 1, true},
          std::tuple{200, list(0, 0), 1, false},
          std::tuple{200, list(0, online::MaxStagesPage + 1), 1, false}}) {
        client.ListStages(1);
        ask = take(client);
        EXPECT_EQ(ask.path, "/api/v1/stages?offset=13&limit=11");
        client.Receive({ask.tag, status, body});
        EXPECT_EQ(client.Published()->page, page);
        EXPECT_EQ(client.Published()->stages.size(), 10u);
        EXPECT_EQ(client.Published()->more, more);
    }
}
