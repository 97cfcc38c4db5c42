// twirlstick-server killed with SIGKILL in the middle of a stream of submissions: after a
// restart on the same SQLite file, every run that was answered 201 is there.
#include "tests/TempFolder.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
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
} // namespace

TEST(ServerCrash, EveryAcknowledgedRunSurvivesSigkill) {
    TempFolder folder;
    const std::string db = "sqlite:" + folder.file("records.db");
    Child server = startServer(db);
    ASSERT_GT(server.port, 0);
    std::ifstream in(std::string(DATA_DIR) + "/solutions/stage1.rep", std::ios::binary);
    const std::string route{std::istreambuf_iterator<char>(in), {}};
    httplib::Client setup("127.0.0.1", server.port);
    const std::string stage1 = nlohmann::json::parse(setup.Get("/api/v1/stages")->body)["stages"][0]["id"];

    std::mutex mutex;
    std::vector<long long> acknowledged;
    std::atomic<bool> killed = false;
    auto submitter = [&](int first) {
        httplib::Client c("127.0.0.1", server.port);
        for (int i = first; !killed; i += 2) {
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
    std::thread a(submitter, 0), b(submitter, 1);
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::lock_guard lock(mutex);
        if (acknowledged.size() >= 30) break;
    }
    kill(server.pid, SIGKILL);
    waitpid(server.pid, nullptr, 0);
    killed = true;
    a.join();
    b.join();

    server = startServer(db);
    ASSERT_GT(server.port, 0);
    httplib::Client after("127.0.0.1", server.port);
    for (const long long id : acknowledged) {
        const auto replay = after.Get("/api/v1/runs/" + std::to_string(id));
        ASSERT_TRUE(replay);
        EXPECT_EQ(replay->status, 200) << "run " << id << " was answered 201 and is gone";
    }
    kill(server.pid, SIGTERM);
    int status = 0;
    waitpid(server.pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "SIGTERM ends the server cleanly";
}
