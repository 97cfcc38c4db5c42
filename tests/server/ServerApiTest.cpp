// The records API against both stores: SQLite in a temporary folder and a PostgreSQL cluster the
// suite starts itself (skipped only when Debian's postgresql package is absent).
#include "core/online/ContentId.h"
#include "core/stage/StageFile.h"
#include "server/RecordsServer.h"
#include "tests/TempFolder.h"
#include "tests/server/TempPostgres.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <nlohmann/json.hpp>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

using nlohmann::json;

namespace {
std::string readData(const std::string& name) {
    std::ifstream in(std::string(DATA_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string base64(const std::string& s) {
    static const char* A = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < s.size(); i += 3) {
        std::uint32_t n = std::uint8_t(s[i]) << 16;
        if (i + 1 < s.size()) n |= std::uint8_t(s[i + 1]) << 8;
        if (i + 2 < s.size()) n |= std::uint8_t(s[i + 2]);
        const std::size_t chunk = std::min<std::size_t>(3, s.size() - i);
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= chunk ? A[(n >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

int connectTo(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(std::uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    return fd;
}

Postgres* postgres = nullptr;

class Api : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        std::string db = "sqlite:" + folder_.file("records.db");
        if (GetParam() == "postgresql") {
            if (!postgres) postgres = new Postgres;
            if (postgres->bin.empty()) GTEST_SKIP() << "no postgresql package";
            ASSERT_TRUE(postgres->up) << "see " << postgres->folder;
            db = postgres->freshDatabase();
        }
        store_ = openStore(db);
        std::string problem;
        ASSERT_TRUE(addShippedStages(*store_, DATA_DIR, problem)) << problem;
        std::filesystem::create_directory(folder_.file("web"));
        folder_.write("web/index.html", "<p>page</p>");
        std::filesystem::create_directory(folder_.file("web/sound"));
        folder_.write("web/sound/click.wav", "RIFF");
        folder_.write("web/game.html", "<html><head></head></html>");
        std::filesystem::create_symlink("/etc/passwd", folder_.file("web/out.txt"));
        start({});
        stage1_ = stageContentId(readData("stage1"));
        stage2_ = stageContentId(readData("stage2"));
        route1_ = readData("solutions/stage1.rep");
        ann_ = claim("Ann");
        bob_ = claim("Bob");
    }
    void TearDown() override { stop(); }

    void start(ServerOptions options) {
        stop();
        options.webFolder = folder_.file("web");
        server_ = std::make_unique<RecordsServer>(*store_, options);
        port_ = 0;
        ASSERT_TRUE(server_->bind("127.0.0.1", port_));
        thread_ = std::thread([this] { server_->run(); });
    }
    void stop() {
        if (!server_) return;
        server_->stop();
        thread_.join();
        server_.reset();
    }
    httplib::Result call(const std::string& method, const std::string& path, const std::string& body = "",
                         const std::string& token = "") {
        httplib::Client c("127.0.0.1", port_);
        httplib::Headers h;
        if (!token.empty()) h.emplace("Authorization", "Bearer " + token);
        if (method == "GET") return c.Get(path, h);
        return c.Post(path, h, body, "application/octet-stream");
    }
    std::string claim(const std::string& name) {
        const httplib::Result r = call("POST", "/api/v1/players", json{{"name", name}}.dump());
        EXPECT_EQ(r->status, 201);
        return json::parse(r->body).value("token", "");
    }
    json submit(const std::string& stage, const std::string& replay, const std::string& token, int status) {
        const httplib::Result r = call("POST", "/api/v1/stages/" + stage + "/runs", replay, token);
        EXPECT_EQ(r->status, status) << r->body;
        return json::parse(r->body);
    }
    std::string fill(std::string text) const {
        for (const auto& [key, value] : {std::pair{"{s1}", stage1_}, std::pair{"{s2}", stage2_}})
            for (std::size_t at; (at = text.find(key)) != std::string::npos;)
                text.replace(at, 4, value);
        return text;
    }

    TempFolder folder_;
    std::unique_ptr<Store> store_;
    std::unique_ptr<RecordsServer> server_;
    std::thread thread_;
    int port_ = 0;
    std::string stage1_, stage2_, route1_, ann_, bob_;
};

struct BadInput {
    const char* method;
    const char* path;
    std::string body;
    bool withToken;
    int status;
    const char* error; // a part of the answer's reason
};

TEST_P(Api, RefusesBadInputWithAReason) {
    const int frames = std::stoi(route1_.substr(3)); // after the BOM
    std::string longer = route1_;
    longer.replace(3, std::to_string(frames).size(), std::to_string(frames + 1));
    const std::string wrongClaim =
        "claims " + std::to_string(frames + 1) + " frames but clears at frame " + std::to_string(frames);
    const BadInput cases[] = {
        {"POST", "/api/v1/stages/{s2}/runs", route1_, true, 422, ""}, // another stage's run
        {"POST", "/api/v1/stages/{s1}/runs", "999999\r\n3 999999\r\n", true, 422, "past the time limit"},
        {"POST", "/api/v1/stages/{s1}/runs", longer, true, 422, wrongClaim.c_str()},
        {"POST", "/api/v1/stages/{s1}/runs", "2147483648\r\n3 2147483648\r\n", true, 422, "not a replay"},
        {"POST", "/api/v1/stages/{s1}/runs", std::string(1100000, '1'), true, 422, "too large"},
        {"POST", "/api/v1/stages/{s1}/runs", std::string(3000000, '1'), true, 413, "too large"},
        {"POST", "/api/v1/stages/{s1}/runs", route1_, false, 401, "token"},
        {"POST", "/api/v1/stages/00000000000000000000000000000000/runs", route1_, true, 422, "unknown stage"},
        {"GET", "/api/v1/stages/00000000000000000000000000000000", "", false, 404, "unknown stage"},
        {"GET", "/api/v1/stages/00000000000000000000000000000000/runs", "", false, 404, "unknown stage"},
        {"GET", "/api/v1/stages/x'%20OR%201=1", "", false, 404, "no such call"},
        {"GET", "/api/v1/runs/999999", "", false, 404, "unknown run"},
        {"GET", "/api/v1/runs/1%20OR%201=1", "", false, 404, "no such call"},
        {"GET", "/api/v1/stages/{s1}/runs?limit=1%3B%20DROP%20TABLE%20runs", "", false, 200, "\"runs\""},
        {"POST", "/api/v1/players", std::string(60000, '['), false, 400, "JSON"},
        {"POST", "/api/v1/players", "{\"name\": ", false, 400, "JSON"},
        {"POST", "/api/v1/players", "[1]", false, 400, "JSON"},
        {"POST", "/api/v1/players", R"({"name": "a\u0001b"})", false, 422, "a name is"},
        {"POST", "/api/v1/players", json{{"name", std::string(10000, 'x')}}.dump(), false, 422, "a name is"},
        {"POST", "/api/v1/players", R"({"name": "x'); DROP TABLE players;--"})", false, 422, "a name is"},
        {"POST", "/api/v1/players", R"({"name": 5})", false, 422, "a name is"},
        {"POST", "/api/v1/players", R"({"name": "ANN"})", false, 409, "taken"},
        {"POST", "/api/v1/stages", R"({"stage": "!!", "replay": ""})", true, 422, "base64"},
        {"POST", "/api/v1/stages", json{{"stage", base64("hello")}, {"replay", ""}}.dump(), true, 422,
         "goal"},
        {"POST", "/api/v1/stages",
         json{{"stage", base64(readData("stage1"))}, {"replay", base64("9\r\n3 9\r\n")}}.dump(), true, 422,
         "the maker's clear: not a clear"},
        {"GET", "/../../etc/passwd", "", false, 404, "no such file"},
        {"GET", "/%2e%2e/%2e%2e/etc/passwd", "", false, 404, "no such file"},
        {"GET", "/web%2Findex.html", "", false, 404, "no such file"},
        {"GET", "/..%5C..%5Cetc/passwd", "", false, 404, "no such file"},
        {"GET", "/%252e%252e/%252e%252e/etc/passwd", "", false, 404, "no such file"},
        {"GET", "/out.txt", "", false, 404, "no such file"}, // a link out of the folder
        {"GET", "/api/v1/nothing", "", false, 404, "no such call"},
    };
    for (const BadInput& c : cases) {
        const httplib::Result r = call(c.method, fill(c.path), c.body, c.withToken ? ann_ : "");
        ASSERT_TRUE(r) << c.path;
        EXPECT_EQ(r->status, c.status) << c.path << " " << c.body.substr(0, 40);
        EXPECT_NE(r->body.find(c.error), std::string::npos) << c.path << ": " << r->body;
        EXPECT_EQ(r->get_header_value("Content-Type"), "application/json") << c.path;
    }
    EXPECT_EQ(call("POST", fill("/api/v1/stages/{s1}/runs"), route1_, "' OR 1=1 --")->status, 401);
    EXPECT_EQ(call("GET", "/")->body, "<p>page</p>");
    // The game's page says where it came from, so it reads the records here unasked.
    EXPECT_EQ(call("GET", "/game.html")->body,
              R"(<html><head><meta name="twirlstick-records" content="/api/v1"></head></html>)");
    EXPECT_EQ(call("GET", "/sound/click.wav")->get_header_value("Content-Type"), "audio/wav"); // late sounds
    EXPECT_EQ(call("GET", "/api/v1/health")->status, 200);
}

TEST_P(Api, RanksFastestFirstAndEarlierOnTies) {
    // A goal over the start: the bar turning in place clears it, faster with the fast button.
    Stage stage;
    stage.title = u"'; DROP TABLE stages; --";
    stage.addPoint({-100, 30});
    stage.addPoint({100, 30});
    stage.addSegment(0, 1, GOAL);
    const std::string file = formatStage(stage), slow = "15\r\n3 15\r\n", fast = "8\r\n1 0\r\n3 8\r\n";
    const httplib::Result published =
        call("POST", "/api/v1/stages", json{{"stage", base64(file)}, {"replay", base64(slow)}}.dump(), ann_);
    ASSERT_EQ(published->status, 201) << published->body;
    const std::string id = json::parse(published->body)["id"];
    EXPECT_EQ(id, stageContentId(file));
    EXPECT_EQ(call("GET", "/api/v1/stages/" + id)->body, file);
    const json list = json::parse(call("GET", "/api/v1/stages")->body)["stages"];
    ASSERT_EQ(list.size(), 11u);
    EXPECT_EQ(list[0]["number"], 1);
    EXPECT_EQ(
        list[10],
        (json{{"id", id}, {"title", "'; DROP TABLE stages; --"}, {"number", nullptr}, {"maker", "Ann"}}));

    const json tie = submit(id, slow, bob_, 201);
    EXPECT_EQ(tie["rank"], 2) << "the maker's clear came first";
    const json better = submit(id, fast, bob_, 201);
    EXPECT_EQ(better["rank"], 1);
    EXPECT_EQ(call("GET", "/api/v1/runs/" + std::to_string(int(tie["id"])))->status, 404) << "replaced";
    const json worse = submit(id, slow, bob_, 200);
    EXPECT_EQ(worse["id"], better["id"]);
    EXPECT_EQ(worse["frames"], 8);
    const json top = json::parse(call("GET", "/api/v1/stages/" + id + "/runs?limit=5", "", ann_)->body);
    ASSERT_EQ(top["runs"].size(), 2u);
    EXPECT_EQ(top["runs"][0]["name"], "Bob");
    EXPECT_EQ(top["runs"][1]["frames"], 15);
    EXPECT_EQ(top["rank"], 2);
    EXPECT_EQ(call("GET", "/api/v1/runs/" + std::to_string(int(better["id"])))->body, fast);
    EXPECT_EQ(submit(stage1_, route1_, ann_, 201)["rank"], 1);
    EXPECT_EQ(submit(stage1_, route1_, bob_, 201)["rank"], 2);

    ASSERT_TRUE(store_->removeRun(better["id"]));
    ASSERT_TRUE(store_->removeStage(id));
    EXPECT_EQ(submit(id, fast, bob_, 422)["error"], "unknown stage");
}

TEST_P(Api, AnswersBusyAndTooManyWithRetryAfter) {
    start({.webFolder = "",
           .workers = 1,
           .queuedConnections = 0,
           .verifications = 0,
           .writesPerSecond = 0.001,
           .writeBurst = 1,
           .timeoutSeconds = 5,
           .requestSeconds = 1,
           .idleConnections = 100});
    const json busy = submit(stage1_, route1_, ann_, 503);
    EXPECT_NE(busy["error"].get<std::string>().find("checked"), std::string::npos);
    // The one worker may still be letting go of the refused submission's connection (503): asked again.
    httplib::Result tooMany = call("POST", "/api/v1/players", R"({"name": "Cid"})");
    for (int i = 0; i < 500 && tooMany->status == 503;
         ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
        tooMany = call("POST", "/api/v1/players", R"({"name": "Cid"})");
    EXPECT_EQ(tooMany->status, 429);
    EXPECT_GT(std::stoi(tooMany->get_header_value("Retry-After")), 0);

    // Clients that trickle a request a byte at a time: one its head, which waits without a
    // worker, and one its body, which holds the one worker; the request's deadline cuts both.
    const auto trickle = [this](const std::string& request, std::size_t atOnce,
                                std::atomic<std::size_t>& sent) {
        return std::thread([this, request, atOnce, &sent] {
            const int fd = connectTo(port_);
            sent = std::size_t(std::max<ssize_t>(send(fd, request.data(), atOnce, MSG_NOSIGNAL), 0));
            while (sent < request.size() && send(fd, &request[sent], 1, MSG_NOSIGNAL) == 1)
                ++sent, std::this_thread::sleep_for(std::chrono::milliseconds(100));
            close(fd);
        });
    };
    const auto waitFor = [](const std::atomic<std::size_t>& sent, std::size_t count) {
        for (int i = 0; i < 500 && sent < count; ++i) // nothing else is asked meanwhile
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    };
    const std::string head = "POST /api/v1/players HTTP/1.1\r\nContent-Length: 100\r\n\r\n";
    const std::string request = head + std::string(100, 'x');
    std::atomic<std::size_t> headSent = 0, bodySent = 0;
    std::thread slowHead = trickle(request, 0, headSent);
    waitFor(headSent, 3);
    EXPECT_EQ(call("GET", "/api/v1/health")->status, 200) << "a trickling head holds no worker";
    std::thread slowBody = trickle(request, head.size(), bodySent);
    waitFor(bodySent, head.size() + 3);
    const httplib::Result refused = call("GET", "/api/v1/health");
    EXPECT_EQ(refused->status, 503);
    EXPECT_EQ(refused->get_header_value("Retry-After"), "1");
    slowHead.join(), slowBody.join();
    EXPECT_LT(headSent, head.size()) << "the trickling head was never cut";
    EXPECT_LT(bodySent, request.size()) << "the trickling body was never cut";

    // Idle connections hold no worker: past a thousand, a new client is served, and past
    // idleConnections the oldest are closed.
    std::vector<int> idle(1000);
    for (int& fd : idle)
        fd = connectTo(port_);
    EXPECT_EQ(call("GET", "/api/v1/health")->status, 200);
    char byte;
    EXPECT_GE(std::count_if(idle.begin(), idle.end(),
                            [&](int fd) { return recv(fd, &byte, 1, MSG_DONTWAIT) == 0; }),
              900);
    for (const int fd : idle)
        close(fd);

    RecordsServer early(*store_, {});
    int port = 0;
    ASSERT_TRUE(early.bind("127.0.0.1", port));
    early.stop();
    EXPECT_TRUE(early.run()) << "a stop asked for before run() is kept, not lost";
}

TEST_P(Api, RefusesWritesWhileTheDiskIsFullOrTheFileReadOnly) {
    if (GetParam() != "sqlite") GTEST_SKIP() << "a case of the SQLite file";
    const std::string disk = folder_.file("disk");
    std::filesystem::create_directory(disk);
    if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "no small disk to fill (root)";
    const struct Unmount {
        std::string at;
        ~Unmount() { umount2(at.c_str(), MNT_DETACH); }
    } unmount{disk};
    stop();
    store_ = openStore("sqlite:" + disk + "/records.db");
    std::string problem;
    ASSERT_TRUE(addShippedStages(*store_, DATA_DIR, problem)) << problem;
    start({});
    ann_ = claim("Ann"), bob_ = claim("Bob");
    const json kept = submit(stage1_, route1_, ann_, 201);
    const auto writesRefused = [&](const char* why, const std::string& token, std::size_t runs) {
        EXPECT_NE(submit(stage1_, route1_, token, 503)["error"].get<std::string>().find(why),
                  std::string::npos);
        EXPECT_EQ(call("POST", "/api/v1/players", R"({"name": "Dan"})")->status, 503);
        const json top = json::parse(call("GET", fill("/api/v1/stages/{s1}/runs"))->body)["runs"];
        ASSERT_EQ(top.size(), runs) << "nothing half-written, and reads go on";
        EXPECT_EQ(call("GET", "/api/v1/runs/" + std::to_string(int(kept["id"])))->body, route1_);
    };
    {
        std::ofstream filler(disk + "/filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size()).flush()) {
        }
    }
    writesRefused("disk is full", bob_, 1);
    std::filesystem::remove(disk + "/filler");
    EXPECT_EQ(submit(stage1_, route1_, bob_, 201)["rank"], 2) << "space is back";
    const std::string cid = claim("Cid");

    std::unique_ptr<Store> readOnly = openStore("sqlite:file:" + disk + "/records.db?mode=ro");
    stop();
    store_ = std::move(readOnly);
    start({});
    writesRefused("read-only", cid, 2);
}

INSTANTIATE_TEST_SUITE_P(Stores, Api, ::testing::Values("sqlite", "postgresql"));

struct StopPostgres : ::testing::Environment {
    void TearDown() override { delete postgres; }
};
const auto* const stopPostgres = ::testing::AddGlobalTestEnvironment(new StopPostgres);
} // namespace
