// The shared store: PostgreSQL through libpqxx, for several server processes behind a load
// balancer. A small pool of connections, each with every statement prepared; a connection that
// breaks is dropped and the next call opens a fresh one, so a restarted database is picked up
// again. A commit that returns has been made durable by PostgreSQL (synchronous_commit on).
#include "server/Store.h"

#include <pqxx/pqxx>

#include <condition_variable>
#include <mutex>
#include <type_traits>

namespace {
// As many as the server has workers, so a busy server reuses connections instead of opening one
// per request; PostgreSQL's default max_connections is 100.
constexpr std::size_t MaxIdleConnections = 64;

const char* const Migrations[] = {
    "CREATE TABLE players (id BIGSERIAL PRIMARY KEY, name TEXT NOT NULL,"
    " name_key TEXT NOT NULL UNIQUE, token_hash TEXT NOT NULL UNIQUE);"
    "CREATE TABLE stages (id TEXT PRIMARY KEY, number INTEGER UNIQUE, title TEXT NOT NULL,"
    " file BYTEA NOT NULL, maker BIGINT REFERENCES players(id), created TEXT NOT NULL, seq BIGSERIAL);"
    "CREATE TABLE runs (id BIGSERIAL PRIMARY KEY,"
    " stage TEXT NOT NULL REFERENCES stages(id) ON DELETE CASCADE,"
    " player BIGINT NOT NULL REFERENCES players(id), frames INTEGER NOT NULL,"
    " replay BYTEA NOT NULL, created TEXT NOT NULL, UNIQUE (stage, player));"
    "CREATE INDEX runs_by_time ON runs (stage, frames, id);",
};

// Name -> SQL of every statement, prepared on each connection as it opens.
const std::pair<const char*, const char*> Statements[] = {
    {"name_taken", "SELECT 1 FROM players WHERE name_key = $1"},
    {"add_player", "INSERT INTO players (name, name_key, token_hash) VALUES ($1, $2, $3)"
                   " ON CONFLICT (name_key) DO NOTHING RETURNING id"},
    {"player_by_token", "SELECT id, name FROM players WHERE token_hash = $1"},
    {"lock_player", "SELECT id FROM players WHERE id = $1 FOR UPDATE"},
    {"unnumber_stage", "UPDATE stages SET number = NULL WHERE number = $1 AND id <> $2"},
    {"put_shipped", "INSERT INTO stages (id, number, title, file, created) VALUES ($1, $2, $3, $4, '')"
                    " ON CONFLICT (id) DO UPDATE SET number = excluded.number"},
    {"publish", "INSERT INTO stages (id, title, file, maker, created) VALUES ($1, $2, $3, $4, $5)"
                " ON CONFLICT (id) DO NOTHING RETURNING id"},
    {"stages", "SELECT s.id, s.title, s.number, COALESCE(p.name, '') FROM stages s"
               " LEFT JOIN players p ON p.id = s.maker ORDER BY s.number IS NULL, s.number, s.seq"
               " LIMIT $1 OFFSET $2"},
    {"stage_file", "SELECT file FROM stages WHERE id = $1"},
    {"best_of", "SELECT id, frames FROM runs WHERE stage = $1 AND player = $2"},
    {"drop_best", "DELETE FROM runs WHERE stage = $1 AND player = $2"},
    {"add_run", "INSERT INTO runs (stage, player, frames, replay, created) VALUES ($1, $2, $3, $4, $5)"
                " RETURNING id"},
    {"rank", "SELECT COUNT(*) FROM runs WHERE stage = $1 AND (frames < $2 OR (frames = $2 AND id < $3))"},
    {"top", "SELECT r.id, p.name, r.frames, r.created FROM runs r JOIN players p ON p.id = r.player"
            " WHERE r.stage = $1 ORDER BY r.frames, r.id LIMIT $2"},
    {"replay", "SELECT replay FROM runs WHERE id = $1"},
    {"remove_run", "DELETE FROM runs WHERE id = $1"},
    {"remove_stage", "DELETE FROM stages WHERE id = $1"},
};

// libpq waits for a connection without end unless told otherwise: a database that does not
// answer would hold each worker that asks it.
std::string withConnectTimeout(const std::string& uri) {
    if (uri.find("connect_timeout=") != std::string::npos) return uri;
    return uri + (uri.find('?') == std::string::npos ? "?" : "&") + "connect_timeout=5";
}

pqxx::binarystring bytes(const std::string& s) {
    return pqxx::binarystring(s.data(), s.size());
}

class PostgresStore final : public Store {
public:
    explicit PostgresStore(const std::string& uri) : uri_(withConnectTimeout(uri)) {
        withConnection([](pqxx::connection&) {}); // fails now, not at the first request
    }

    std::optional<std::int64_t> addPlayer(const std::string& name, const std::string& nameKey,
                                          const std::string& tokenHash) override {
        return write([&](pqxx::work& tx) -> std::optional<std::int64_t> {
            const pqxx::result r = tx.exec_prepared("add_player", name, nameKey, tokenHash);
            if (r.empty()) return std::nullopt;
            return r[0][0].as<std::int64_t>();
        });
    }

    std::optional<StoredPlayer> playerByToken(const std::string& tokenHash) override {
        return write([&](pqxx::work& tx) -> std::optional<StoredPlayer> {
            const pqxx::result r = tx.exec_prepared("player_by_token", tokenHash);
            if (r.empty()) return std::nullopt;
            return StoredPlayer{r[0][0].as<std::int64_t>(), r[0][1].as<std::string>()};
        });
    }

    void putShippedStage(const std::string& id, int number, const std::string& title,
                         const std::string& file) override {
        write([&](pqxx::work& tx) {
            tx.exec_prepared("unnumber_stage", number, id);
            tx.exec_prepared("put_shipped", id, number, title, bytes(file));
            return 0;
        });
    }

    bool publishStage(const std::string& id, const std::string& title, const std::string& file,
                      std::int64_t maker, std::int32_t frames, const std::string& replay,
                      const std::string& date) override {
        return write([&](pqxx::work& tx) {
            if (tx.exec_prepared("publish", id, title, bytes(file), maker, date).empty()) return false;
            tx.exec_prepared("add_run", id, maker, frames, bytes(replay), date);
            return true;
        });
    }

    std::vector<online::StageEntry> stages(int offset, int limit) override {
        return write([&](pqxx::work& tx) {
            std::vector<online::StageEntry> out;
            for (const pqxx::row& row : tx.exec_prepared("stages", limit, offset)) {
                online::StageEntry e{row[0].as<std::string>(), row[1].as<std::string>(), std::nullopt,
                                     row[3].as<std::string>()};
                if (!row[2].is_null()) e.number = row[2].as<int>();
                out.push_back(std::move(e));
            }
            return out;
        });
    }

    std::optional<std::string> stageFile(const std::string& id) override { return blob("stage_file", id); }

    online::SubmitAnswer submitRun(const std::string& stageId, std::int64_t player, std::int32_t frames,
                                   const std::string& replay, const std::string& date) override {
        return write([&](pqxx::work& tx) {
            // The player's row lock orders their submissions across every server process.
            tx.exec_prepared("lock_player", player);
            online::SubmitAnswer answer{0, frames, 0, true};
            const pqxx::result best = tx.exec_prepared("best_of", stageId, player);
            if (!best.empty() && best[0][1].as<std::int32_t>() <= frames)
                answer = {best[0][0].as<std::int64_t>(), best[0][1].as<std::int32_t>(), 0, false};
            if (answer.kept) {
                tx.exec_prepared("drop_best", stageId, player);
                answer.id = tx.exec_prepared("add_run", stageId, player, frames, bytes(replay), date)[0][0]
                                .as<std::int64_t>();
            }
            answer.rank = 1 + tx.exec_prepared("rank", stageId, answer.frames, answer.id)[0][0].as<int>();
            return answer;
        });
    }

    std::vector<online::RunEntry> topRuns(const std::string& stageId, int limit) override {
        return write([&](pqxx::work& tx) {
            std::vector<online::RunEntry> out;
            for (const pqxx::row& row : tx.exec_prepared("top", stageId, limit))
                out.push_back({row[0].as<std::int64_t>(), row[1].as<std::string>(), row[2].as<std::int32_t>(),
                               row[3].as<std::string>()});
            return out;
        });
    }

    std::optional<int> rankOf(const std::string& stageId, std::int64_t player) override {
        return write([&](pqxx::work& tx) -> std::optional<int> {
            const pqxx::result best = tx.exec_prepared("best_of", stageId, player);
            if (best.empty()) return std::nullopt;
            return 1 + tx.exec_prepared("rank", stageId, best[0][1].as<std::int32_t>(),
                                        best[0][0].as<std::int64_t>())[0][0]
                           .as<int>();
        });
    }

    std::optional<std::string> runReplay(std::int64_t id) override { return blob("replay", id); }

    bool removeRun(std::int64_t id) override {
        return write([&](pqxx::work& tx) { return tx.exec_prepared("remove_run", id).affected_rows() > 0; });
    }
    bool removeStage(const std::string& id) override {
        return write(
            [&](pqxx::work& tx) { return tx.exec_prepared("remove_stage", id).affected_rows() > 0; });
    }

private:
    template <typename Key> std::optional<std::string> blob(const char* statement, const Key& key) {
        return write([&](pqxx::work& tx) -> std::optional<std::string> {
            const pqxx::result r = tx.exec_prepared(statement, key);
            if (r.empty()) return std::nullopt;
            return pqxx::binarystring(r[0][0]).str();
        });
    }

    // Runs `body` in one transaction on a pooled connection and commits it. Constraint
    // violations are the caller's bugs and propagate; a lost or failing database is
    // StoreUnavailable, and the connection is dropped so the next call reconnects.
    template <typename Body> std::invoke_result_t<Body&, pqxx::work&> write(Body&& body) {
        return withConnection([&](pqxx::connection& c) {
            pqxx::work tx(c);
            auto result = body(tx);
            tx.commit();
            return result;
        });
    }

    template <typename Use> std::invoke_result_t<Use&, pqxx::connection&> withConnection(Use&& use) {
        std::unique_ptr<pqxx::connection> c = take();
        try {
            if (!c) c = open();
            if constexpr (std::is_void_v<decltype(use(*c))>) {
                use(*c);
                give(std::move(c));
            } else {
                auto result = use(*c);
                give(std::move(c));
                return result;
            }
        } catch (const pqxx::broken_connection& e) {
            throw StoreUnavailable(std::string("postgresql: ") + e.what());
        } catch (const pqxx::in_doubt_error& e) {
            throw StoreUnavailable(std::string("postgresql: ") + e.what());
        } catch (const pqxx::sql_error& e) {
            give(std::move(c)); // the statement failed, the connection still stands
            using Why = StoreUnavailable::Why;
            throw StoreUnavailable(std::string("postgresql: ") + e.what(),
                                   e.sqlstate() == "53100"   ? Why::DiskFull
                                   : e.sqlstate() == "25006" ? Why::ReadOnly
                                                             : Why::Unreachable);
        } catch (const pqxx::failure& e) {
            throw StoreUnavailable(std::string("postgresql: ") + e.what());
        }
    }

    std::unique_ptr<pqxx::connection> open() {
        auto c = std::make_unique<pqxx::connection>(uri_);
        std::call_once(migrated_, [&] { migrate(*c); });
        for (const auto& [name, sql] : Statements)
            c->prepare(name, sql);
        return c;
    }

    static void migrate(pqxx::connection& c) {
        pqxx::work tx(c);
        // One server migrates at a time; the others wait here and then find the schema current.
        tx.exec("SELECT pg_advisory_xact_lock(7349021)");
        tx.exec("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
        const int at = tx.exec("SELECT COALESCE(MAX(version), 0) FROM schema_version")[0][0].as<int>();
        const int latest = int(std::size(Migrations));
        if (at > latest) throw StoreUnavailable("postgresql: the database is of a newer server");
        for (int v = at; v < latest; ++v)
            tx.exec(Migrations[v]);
        if (at < latest) tx.exec_params("INSERT INTO schema_version (version) VALUES ($1)", latest);
        tx.commit();
    }

    std::unique_ptr<pqxx::connection> take() {
        std::lock_guard lock(mutex_);
        if (idle_.empty()) return nullptr;
        auto c = std::move(idle_.back());
        idle_.pop_back();
        return c;
    }
    void give(std::unique_ptr<pqxx::connection> c) {
        std::lock_guard lock(mutex_);
        if (c && c->is_open() && idle_.size() < MaxIdleConnections) idle_.push_back(std::move(c));
    }

    std::string uri_;
    std::once_flag migrated_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<pqxx::connection>> idle_;
};
} // namespace

std::unique_ptr<Store> openPostgresStore(const std::string& uri) {
    return std::make_unique<PostgresStore>(uri);
}
