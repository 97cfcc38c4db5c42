// twirlstick-server: the online records (README, "Online records").
//   twirlstick-server [--db ADDRESS] [--listen HOST:PORT] [--web DIR] [--data DIR] [--workers N]
//                     [--write-rate PER_SECOND]
//   twirlstick-server [--db ADDRESS] remove run ID | remove stage ID
#include "server/RecordsServer.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <pthread.h>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {
constexpr const char* Usage =
    "usage: twirlstick-server [--db sqlite:PATH|postgresql://...] [--listen HOST:PORT] [--web DIR]\n"
    "                         [--data DIR] [--workers N] [--write-rate PER_SECOND]\n"
    "       twirlstick-server [--db ...] remove run ID | remove stage ID\n";

struct Options {
    std::string db = "sqlite:records.db";
    std::string host = "127.0.0.1";
    int port = 8080;
    std::string data; // the shipped stages; empty: beside the executable, else the current folder
    ServerOptions server;
    std::vector<std::string> command;
};

bool number(const std::string& text, double& out) {
    try {
        std::size_t used = 0;
        out = std::stod(text, &used);
        return used == text.size() && out >= 0 && out < 1e9;
    } catch (...) {
        return false;
    }
}

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        double n = 0;
        if (a == "--db" && hasValue) {
            o.db = argv[++i];
        } else if (a == "--listen" && hasValue) {
            const std::string v = argv[++i];
            const std::size_t colon = v.rfind(':');
            if (colon == std::string::npos || !number(v.substr(colon + 1), n) || n > 65535) return false;
            o.host = v.substr(0, colon);
            o.port = int(n);
        } else if (a == "--web" && hasValue) {
            o.server.webFolder = argv[++i];
        } else if (a == "--data" && hasValue) {
            o.data = argv[++i];
        } else if (a == "--workers" && hasValue && number(argv[i + 1], n) && n >= 1 && n <= 256) {
            o.server.workers = int(n);
            ++i;
        } else if (a == "--write-rate" && hasValue && number(argv[i + 1], n)) {
            o.server.writesPerSecond = n;
            ++i;
        } else if (a == "remove" && i + 2 == argc - 1) {
            o.command.assign(argv + i, argv + argc);
            return o.command[1] == "run" || o.command[1] == "stage";
        } else {
            return false;
        }
    }
    return true;
}

std::string shippedStageFolder(const Options& o) {
    if (!o.data.empty()) return o.data;
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
    if (!ec && std::filesystem::exists(exe / "stage1", ec)) return exe.string();
    return ".";
}

// Each idle connection holds a descriptor. The soft limit (often 1024) is raised as far as the
// hard one allows, and fewer connections are kept idle than it, so accept() does not run out
// while the waiting ones are many: the oldest make room instead.
void fitDescriptorLimit(ServerOptions& server) {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return;
    limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, 65536);
    setrlimit(RLIMIT_NOFILE, &limit);
    getrlimit(RLIMIT_NOFILE, &limit);
    const rlim_t others = 256; // the workers' connections, the store's files, the web folder's
    server.idleConnections = std::min<std::size_t>(
        server.idleConnections, std::size_t(std::max<rlim_t>(limit.rlim_cur / 2, limit.rlim_cur - others)));
}

int remove(Store& store, const std::vector<std::string>& command) {
    bool removed = false;
    if (command[1] == "run") {
        try {
            removed = store.removeRun(std::stoll(command[2]));
        } catch (const std::logic_error&) {
            removed = false;
        }
    } else {
        removed = store.removeStage(command[2]);
    }
    std::printf("%s %s %s\n", command[1].c_str(), command[2].c_str(), removed ? "removed" : "not found");
    return removed ? 0 : 1;
}
} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fputs(Usage, stderr);
        return 2;
    }
    // SIGINT and SIGTERM end the server cleanly: blocked here, waited for by one thread.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    try {
        const std::unique_ptr<Store> store = openStore(options.db);
        if (!options.command.empty()) return remove(*store, options.command);
        std::string problem;
        if (!addShippedStages(*store, shippedStageFolder(options), problem)) {
            std::fprintf(stderr, "twirlstick-server: %s\n", problem.c_str());
            return 1;
        }
        fitDescriptorLimit(options.server);
        RecordsServer server(*store, options.server);
        if (!server.bind(options.host, options.port)) {
            std::fprintf(stderr, "twirlstick-server: cannot listen on %s:%d\n", options.host.c_str(),
                         options.port);
            return 1;
        }
        std::thread waiter([&] {
            int signal = 0;
            sigwait(&stopSignals, &signal);
            server.stop();
        });
        waiter.detach();
        std::printf("twirlstick-server: listening on http://%s:%d/\n", options.host.c_str(), options.port);
        std::fflush(stdout);
        return server.run() ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "twirlstick-server: %s\n", e.what());
        return 1;
    }
}
