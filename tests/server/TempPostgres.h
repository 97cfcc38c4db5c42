#pragma once
// A throw-away PostgreSQL cluster for the server's tests, from Debian's postgresql package.
#include <glob.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

inline int run(const std::string& command) {
    return std::system(command.c_str());
}

// A throw-away cluster on a Unix socket in a temporary folder, run as `postgres` when we are root.
struct Postgres {
    std::string folder, bin, as;
    bool up = false;
    int databases = 0;
    Postgres() {
        glob_t g{};
        if (glob("/usr/lib/postgresql/*/bin/initdb", 0, nullptr, &g) == 0 && g.gl_pathc > 0)
            bin = std::filesystem::path(g.gl_pathv[g.gl_pathc - 1]).parent_path().string();
        globfree(&g);
        if (bin.empty()) return;
        char pattern[] = "/tmp/twirlstick-pg-XXXXXX";
        folder = mkdtemp(pattern);
        as = geteuid() == 0 ? "runuser -u postgres -- " : "";
        if (geteuid() == 0) run("chown postgres " + folder);
        up = run(as + bin + "/initdb -N -A trust -U postgres -D " + folder + "/data > " + folder +
                 "/initdb.log 2>&1") == 0 &&
             start();
    }
    ~Postgres() {
        if (bin.empty()) return;
        stop();
        std::filesystem::remove_all(folder);
    }
    bool start() {
        return run(as + bin + "/pg_ctl -w -D " + folder + "/data -l " + folder + "/log -o \"-k " + folder +
                   " -c listen_addresses=''\" start > /dev/null") == 0;
    }
    // At once, as by a crash: what was committed must come back at the next start.
    void stop() { run(as + bin + "/pg_ctl -w -D " + folder + "/data -m immediate stop > /dev/null 2>&1"); }
    std::string freshDatabase() {
        const std::string name = "t" + std::to_string(++databases);
        run(as + bin + "/createdb -h " + folder + " -U postgres " + name);
        return "postgresql:///" + name + "?host=" + folder + "&user=postgres";
    }
};
