#pragma once
// twirlstick-server's HTTP side: the /api/v1/ calls over a Store, the browser build from the
// web folder, and the limits that keep it standing.
#include "core/game/RunCheck.h"
#include "server/Limits.h"
#include "server/PooledServer.h"
#include "server/Store.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

struct ServerOptions {
    std::string webFolder;      // empty: no static files
    int workers = 8;            // connection threads
    int queuedConnections = 64; // past this, 503
    int verifications = 16;     // replays checked at once; past this, 503
    double writesPerSecond = 5; // per address; 0: unlimited
    double writeBurst = 20;
    int timeoutSeconds = 5;  // a connection's silence before its first request and between requests
    int requestSeconds = 10; // one request, from its first byte to its answer's last
    std::size_t idleConnections = 4096; // kept open between requests; past this the oldest is closed
};

class RecordsServer {
public:
    RecordsServer(Store& store, ServerOptions options);
    ~RecordsServer();

    // Binds; port 0 picks a free one. False when the address cannot be bound.
    bool bind(const std::string& host, int& port);
    // Serves until stop(); call after bind().
    bool run();
    void stop();

private:
    void routes();
    // The address's write bucket has a token; otherwise 429 with Retry-After is answered.
    bool mayWrite(const httplib::Request& req, httplib::Response& res);
    // The bearer token's player, if the write may go on; otherwise 401 or 429 is answered.
    std::optional<StoredPlayer> writingPlayer(const httplib::Request& req, httplib::Response& res);
    // The operator's log of failed requests, each failure said once until another comes.
    void logFailure(const std::string& what);
    std::shared_ptr<const Stage> stageById(const std::string& id);
    // The replay's verdict, or nullopt when every verification slot is taken (503).
    std::optional<RunVerdict> checked(const Stage& stage, std::string_view replay);

    Store& store_;
    ServerOptions options_;
    PooledServer http_;
    VerificationSlots slots_;
    WriteBuckets buckets_;
    std::mutex stageMutex_;
    std::map<std::string, std::shared_ptr<const Stage>> stages_; // parsed, by content id
    std::mutex logMutex_;
    std::string lastFailure_;
};

// The shipped stages (stage1 ... stage10 in `folder`) as numbers 1-10; false, with the file's
// name in `problem`, when one is missing or not a stage.
bool addShippedStages(Store& store, const std::string& folder, std::string& problem);
