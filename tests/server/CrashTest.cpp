// twirlstick-server killed with SIGKILL in the middle of a stream of submissions (after a restart
// on the same SQLite file), or its PostgreSQL restarted under it: every run answered 201 is there.
#include "tests/TempFolder.h"
#include "tests/server/TempPostgres.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace {
struct Child {
    pid_t pid = -1;
    int port = 0;
};

// Starts the server on a free port and reads the port from its first line.
Child startServer(const std::string& db) {
    int out[2];
    if (pipe(out) != 0) return {};
    Child c;
    c.pid = fork();
    if (c.pid == 0) {
        dup2(out[1], 1);
        close(out[0]);
        execl(SERVER, SERVER, "--db", db.c_str(), "--listen", "127.0.0.1:0", "--data", DATA_DIR,
              "--write-rate", "0", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string line;
    char ch;
    while (read(out[0], &ch, 1) == 1 && ch != '\n')
        line += ch;
    close(out[0]);
    const std::size_t colon = line.rfind(':');
    if (colon != std::string::npos) c.port = std::atoi(line.c_str() + colon + 1);
    return c;
}

// Two clients claim players and submit stage 1's shipped route until `before` runs were answered
// 201, then `disrupt` runs while they go on until `after` more were (or the stream's bound runs
// out): the ids of every run answered 201.
std::vector<long long> acknowledgedAround(int port, int before, const std::function<void()>& disrupt,
                                          int after) {
    std::ifstream in(std::string(DATA_DIR) + "/solutions/stage1.rep", std::ios::binary);
    const std::string route{std::istreambuf_iterator<char>(in), {}};
    httplib::Client setup("127.0.0.1", port);
    const std::string stage1 = nlohmann::json::parse(setup.Get("/api/v1/stages")->body)["stages"][0]["id"];
    std::mutex mutex;
    std::vector<long long> acknowledged;
    std::atomic<bool> done = false;
    auto submitter = [&](int first) {
        httplib::Client c("127.0.0.1", port);
        for (int i = first; !done; i += 2) {
            const auto claim =
                c.Post("/api/v1/players", "{\"name\":\"p" + std::to_string(i) + "\"}", "application/json");
            if (!claim || claim->status != 201) continue;
            const std::string token = nlohmann::json::parse(claim->body)["token"];
            const auto run =
                c.Post("/api/v1/stages/" + stage1 + "/runs", {{"Authorization", "Bearer " + token}}, route,
                       "application/octet-stream");
            if (run && run->status == 201) {
                std::lock_guard lock(mutex);
                acknowledged.push_back(nlohmann::json::parse(run->body)["id"]);
            }
        }
    };
    const auto waitFor = [&](std::size_t count) {
        for (int i = 0; i < 3000; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
            std::lock_guard lock(mutex);
            if (acknowledged.size() >= count) return;
        }
    };
    std::thread a(submitter, 0), b(submitter, 1);
    waitFor(std::size_t(before));
    disrupt();
    waitFor(std::size_t(before + after));
    done = true;
    a.join();
    b.join();
    return acknowledged;
}

void expectAllThere(int port, const std::vector<long long>& acknowledged) {
    httplib::Client after("127.0.0.1", port);
    for (const long long id : acknowledged) {
        const auto replay = after.Get("/api/v1/runs/" + std::to_string(id));
        ASSERT_TRUE(replay);
        EXPECT_EQ(replay->status, 200) << "run " << id << " was answered 201 and is gone";
    }
}

void stopServer(const Child& server) {
    kill(server.pid, SIGTERM);
    int status = 0;
    waitpid(server.pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "SIGTERM ends the server cleanly";
}
} // namespace

TEST(ServerCrash, EveryAcknowledgedRunSurvivesSigkill) {
    TempFolder folder;
    const std::string db = "sqlite:" + folder.file("records.db");
    Child server = startServer(db);
    ASSERT_GT(server.port, 0);
    const std::vector<long long> acknowledged = acknowledgedAround(
        server.port, 30,
        [&] {
            kill(server.pid, SIGKILL);
            waitpid(server.pid, nullptr, 0);
        },
        0);
    server = startServer(db);
    ASSERT_GT(server.port, 0);
    expectAllThere(server.port, acknowledged);
    stopServer(server);
}

TEST(ServerCrash, EveryAcknowledgedRunSurvivesAPostgresRestart) {
    Postgres postgres;
    if (postgres.bin.empty()) GTEST_SKIP() << "no postgresql package";
    ASSERT_TRUE(postgres.up) << "see " << postgres.folder;
    const Child server = startServer(postgres.freshDatabase());
    ASSERT_GT(server.port, 0);
    bool restarted = false;
    const std::vector<long long> acknowledged = acknowledgedAround(
        server.port, 20, [&] { postgres.stop(), restarted = postgres.start(); }, 20);
    ASSERT_TRUE(restarted);
    ASSERT_GE(acknowledged.size(), 40u) << "the server did not reconnect after the restart";
    expectAllThere(server.port, acknowledged);
    stopServer(server);
}
