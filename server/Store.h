#pragma once
// Where the records live: one small interface, two stores. SQLite is the embedded default (one
// file); PostgreSQL serves several server processes behind a load balancer. Every statement is
// prepared, every write is one transaction that is on disk before the call returns, and the
// schema is created and brought up to date by the store itself (the schema_version table).
#include "core/online/Protocol.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// The database failed (gone, read-only, disk full): nothing of the call was written, and the
// client is told why and to come back (503). what() is for the operator's log.
struct StoreUnavailable : std::runtime_error {
    enum class Why { Unreachable, DiskFull, ReadOnly };
    explicit StoreUnavailable(const std::string& detail, Why why = Why::Unreachable)
        : std::runtime_error(detail), why(why) {}
    Why why;
};

struct StoredPlayer {
    std::int64_t id = 0;
    std::string name;
};

class Store {
public:
    virtual ~Store() = default;

    // nullopt when the name's key (playerNameKey) is taken.
    virtual std::optional<std::int64_t> addPlayer(const std::string& name, const std::string& nameKey,
                                                  const std::string& tokenHash) = 0;
    virtual std::optional<StoredPlayer> playerByToken(const std::string& tokenHash) = 0;

    // A shipped stage under its number (1-10), added or kept as it is.
    virtual void putShippedStage(const std::string& id, int number, const std::string& title,
                                 const std::string& file) = 0;
    // A player's stage with the maker's clear, which stands as its first run. False when a stage
    // of that content is there already.
    virtual bool publishStage(const std::string& id, const std::string& title, const std::string& file,
                              std::int64_t maker, std::int32_t frames, const std::string& replay,
                              const std::string& date) = 0;
    // The shipped stages by number, then published ones in the order they came.
    virtual std::vector<online::StageEntry> stages(int offset, int limit) = 0;
    virtual std::optional<std::string> stageFile(const std::string& id) = 0;

    // Keeps the run when it is the player's first on the stage or faster than their best (which
    // it replaces); says the best that stands and its rank either way.
    virtual online::SubmitAnswer submitRun(const std::string& stageId, std::int64_t player,
                                           std::int32_t frames, const std::string& replay,
                                           const std::string& date) = 0;
    // Fastest first; of equal times the earlier submission first.
    virtual std::vector<online::RunEntry> topRuns(const std::string& stageId, int limit) = 0;
    virtual std::optional<int> rankOf(const std::string& stageId, std::int64_t player) = 0;
    virtual std::optional<std::string> runReplay(std::int64_t id) = 0;

    // The operator's removals (tool-assisted runs, unwanted stages); a stage goes with its runs.
    virtual bool removeRun(std::int64_t id) = 0;
    virtual bool removeStage(const std::string& id) = 0;
};

// "sqlite:PATH" (or an SQLite URI, "sqlite:file:PATH?mode=ro" for a read-only copy) or "postgresql://..."
// (also "postgres://"); throws StoreUnavailable when the database cannot be opened or migrated,
// std::invalid_argument for any other form.
std::unique_ptr<Store> openStore(const std::string& address);

std::unique_ptr<Store> openSqliteStore(const std::string& path);
std::unique_ptr<Store> openPostgresStore(const std::string& uri);
