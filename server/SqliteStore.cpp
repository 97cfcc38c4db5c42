// The embedded store: one SQLite file in WAL mode with synchronous=FULL, so a commit has reached
// the disk before the answer that reports it. One connection behind a mutex: every statement
// takes microseconds, and a single writer is what SQLite allows anyway.
#include "server/Store.h"

#include <sqlite3.h>

#include <map>
#include <mutex>

namespace {
// Each step of the schema, applied in order inside one transaction with its version number.
const char* const Migrations[] = {
    "CREATE TABLE players (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT NOT NULL,"
    " name_key TEXT NOT NULL UNIQUE, token_hash TEXT NOT NULL UNIQUE);"
    "CREATE TABLE stages (id TEXT PRIMARY KEY, number INTEGER UNIQUE, title TEXT NOT NULL,"
    " file BLOB NOT NULL, maker INTEGER REFERENCES players(id), created TEXT NOT NULL);"
    "CREATE TABLE runs (id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " stage TEXT NOT NULL REFERENCES stages(id) ON DELETE CASCADE,"
    " player INTEGER NOT NULL REFERENCES players(id), frames INTEGER NOT NULL,"
    " replay BLOB NOT NULL, created TEXT NOT NULL, UNIQUE (stage, player));"
    "CREATE INDEX runs_by_time ON runs (stage, frames, id);",
};

// The failure of the last call on `db`, told as the client will hear it.
[[noreturn]] void fail(sqlite3* db, const std::string& detail) {
    const int code = sqlite3_errcode(db) & 0xff;
    throw StoreUnavailable("sqlite: " + detail, code == SQLITE_FULL ? StoreUnavailable::Why::DiskFull
                                                : code == SQLITE_READONLY
                                                    ? StoreUnavailable::Why::ReadOnly
                                                    : StoreUnavailable::Why::Unreachable);
}

class Statement {
public:
    Statement(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) != SQLITE_OK)
            fail(db, sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Binds the parameters in order, from the first.
    template <typename... Args> Statement& bind(const Args&... args) {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        int i = 0;
        (bindOne(++i, args), ...);
        return *this;
    }
    // True while a row is there; throws on any failure (a busy database after the timeout too).
    bool step() {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        const std::string message = sqlite3_errmsg(db_);
        sqlite3_reset(stmt_); // which sets the error's code again, for fail()
        fail(db_, message);
    }
    void run() {
        step();
        sqlite3_reset(stmt_);
    }
    std::int64_t integer(int column) const { return sqlite3_column_int64(stmt_, column); }
    bool isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
    std::string text(int column) const {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
        return p ? std::string(p, std::size_t(sqlite3_column_bytes(stmt_, column))) : std::string();
    }
    void done() { sqlite3_reset(stmt_); }

private:
    void bindOne(int i, std::int64_t v) { sqlite3_bind_int64(stmt_, i, v); }
    void bindOne(int i, int v) { sqlite3_bind_int64(stmt_, i, v); }
    void bindOne(int i, const std::string& v) {
        sqlite3_bind_text(stmt_, i, v.data(), int(v.size()), SQLITE_TRANSIENT);
    }
    struct Blob {
        const std::string& bytes;
    };
    void bindOne(int i, const Blob& v) {
        sqlite3_bind_blob(stmt_, i, v.bytes.data(), int(v.bytes.size()), SQLITE_TRANSIENT);
    }

    friend class SqliteStore;
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

class SqliteStore final : public Store {
public:
    explicit SqliteStore(const std::string& path) {
        // A write-protected file (or "file:PATH?mode=ro") opens read-only: reads are served, and
        // writes answer 503.
        const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
        const bool opened = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) == SQLITE_OK;
        try {
            if (!opened) fail(db_, path + ": " + (db_ ? sqlite3_errmsg(db_) : "out of memory"));
            sqlite3_busy_timeout(db_, 5000); // the operator's `remove` may hold the file a moment
            exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON;");
            migrate();
        } catch (...) {
            statements_.clear();
            sqlite3_close(db_); // not left open by a constructor that failed
            throw;
        }
    }
    ~SqliteStore() override {
        statements_.clear();
        sqlite3_close(db_);
    }

    std::optional<std::int64_t> addPlayer(const std::string& name, const std::string& nameKey,
                                          const std::string& tokenHash) override {
        std::lock_guard lock(mutex_);
        Transaction tx(*this);
        Statement& taken = prepared("SELECT 1 FROM players WHERE name_key = ?");
        if (taken.bind(nameKey).step()) return taken.done(), std::nullopt;
        prepared("INSERT INTO players (name, name_key, token_hash) VALUES (?, ?, ?)")
            .bind(name, nameKey, tokenHash)
            .run();
        const std::int64_t id = sqlite3_last_insert_rowid(db_);
        tx.commit();
        return id;
    }

    std::optional<StoredPlayer> playerByToken(const std::string& tokenHash) override {
        std::lock_guard lock(mutex_);
        Statement& s = prepared("SELECT id, name FROM players WHERE token_hash = ?");
        if (!s.bind(tokenHash).step()) return std::nullopt;
        StoredPlayer p{s.integer(0), s.text(1)};
        s.done();
        return p;
    }

    void putShippedStage(const std::string& id, int number, const std::string& title,
                         const std::string& file) override {
        std::lock_guard lock(mutex_);
        Statement& there = prepared("SELECT 1 FROM stages WHERE id = ? AND number = ?");
        if (there.bind(id, number).step()) return there.done(); // as it was: nothing to write
        Transaction tx(*this);
        // A shipped stage whose file changed gets its number under the new content id.
        prepared("UPDATE stages SET number = NULL WHERE number = ? AND id <> ?").bind(number, id).run();
        prepared("INSERT INTO stages (id, number, title, file, created) VALUES (?, ?, ?, ?, '')"
                 " ON CONFLICT (id) DO UPDATE SET number = excluded.number")
            .bind(id, number, title, Statement::Blob{file})
            .run();
        tx.commit();
    }

    bool publishStage(const std::string& id, const std::string& title, const std::string& file,
                      std::int64_t maker, std::int32_t frames, const std::string& replay,
                      const std::string& date) override {
        std::lock_guard lock(mutex_);
        Transaction tx(*this);
        Statement& there = prepared("SELECT 1 FROM stages WHERE id = ?");
        if (there.bind(id).step()) return there.done(), false;
        prepared("INSERT INTO stages (id, title, file, maker, created) VALUES (?, ?, ?, ?, ?)")
            .bind(id, title, Statement::Blob{file}, maker, date)
            .run();
        prepared("INSERT INTO runs (stage, player, frames, replay, created) VALUES (?, ?, ?, ?, ?)")
            .bind(id, maker, frames, Statement::Blob{replay}, date)
            .run();
        tx.commit();
        return true;
    }

    std::vector<online::StageEntry> stages(int offset, int limit) override {
        std::lock_guard lock(mutex_);
        Statement& s = prepared("SELECT s.id, s.title, s.number, COALESCE(p.name, '') FROM stages s"
                                " LEFT JOIN players p ON p.id = s.maker"
                                " ORDER BY s.number IS NULL, s.number, s.rowid LIMIT ? OFFSET ?");
        std::vector<online::StageEntry> out;
        s.bind(limit, offset);
        while (s.step()) {
            online::StageEntry e{s.text(0), s.text(1), std::nullopt, s.text(3)};
            if (!s.isNull(2)) e.number = int(s.integer(2));
            out.push_back(std::move(e));
        }
        return out;
    }

    std::optional<std::string> stageFile(const std::string& id) override {
        return single("SELECT file FROM stages WHERE id = ?", id);
    }

    online::SubmitAnswer submitRun(const std::string& stageId, std::int64_t player, std::int32_t frames,
                                   const std::string& replay, const std::string& date) override {
        std::lock_guard lock(mutex_);
        Transaction tx(*this);
        online::SubmitAnswer answer{0, frames, 0, true};
        Statement& best = prepared("SELECT id, frames FROM runs WHERE stage = ? AND player = ?");
        if (best.bind(stageId, player).step()) {
            if (best.integer(1) <= frames)
                answer = {best.integer(0), std::int32_t(best.integer(1)), 0, false};
            best.done();
            if (answer.kept)
                prepared("DELETE FROM runs WHERE stage = ? AND player = ?").bind(stageId, player).run();
        }
        if (answer.kept) {
            prepared("INSERT INTO runs (stage, player, frames, replay, created) VALUES (?, ?, ?, ?, ?)")
                .bind(stageId, player, frames, Statement::Blob{replay}, date)
                .run();
            answer.id = sqlite3_last_insert_rowid(db_);
        }
        answer.rank = rankLocked(stageId, answer.id, answer.frames);
        tx.commit();
        return answer;
    }

    std::vector<online::RunEntry> topRuns(const std::string& stageId, int limit) override {
        std::lock_guard lock(mutex_);
        Statement& s = prepared("SELECT r.id, p.name, r.frames, r.created FROM runs r JOIN players p"
                                " ON p.id = r.player WHERE r.stage = ? ORDER BY r.frames, r.id LIMIT ?");
        std::vector<online::RunEntry> out;
        s.bind(stageId, limit);
        while (s.step())
            out.push_back({s.integer(0), s.text(1), std::int32_t(s.integer(2)), s.text(3)});
        return out;
    }

    std::optional<int> rankOf(const std::string& stageId, std::int64_t player) override {
        std::lock_guard lock(mutex_);
        Statement& s = prepared("SELECT id, frames FROM runs WHERE stage = ? AND player = ?");
        if (!s.bind(stageId, player).step()) return std::nullopt;
        const std::int64_t id = s.integer(0);
        const auto frames = std::int32_t(s.integer(1));
        s.done();
        return rankLocked(stageId, id, frames);
    }

    std::optional<std::string> runReplay(std::int64_t id) override {
        return single("SELECT replay FROM runs WHERE id = ?", id);
    }

    bool removeRun(std::int64_t id) override { return change("DELETE FROM runs WHERE id = ?", id); }
    bool removeStage(const std::string& id) override { return change("DELETE FROM stages WHERE id = ?", id); }

private:
    // BEGIN IMMEDIATE takes the write lock at once, so two processes never deadlock upgrading.
    class Transaction {
    public:
        explicit Transaction(SqliteStore& store) : store_(store) { store_.exec("BEGIN IMMEDIATE"); }
        ~Transaction() {
            if (!committed_) sqlite3_exec(store_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
        }
        void commit() {
            store_.exec("COMMIT");
            committed_ = true;
        }

    private:
        SqliteStore& store_;
        bool committed_ = false;
    };

    void exec(const char* sql) {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
            const std::string text = message ? message : "failed";
            sqlite3_free(message);
            fail(db_, text);
        }
    }

    Statement& prepared(const char* sql) {
        auto& s = statements_[sql];
        if (!s) s = std::make_unique<Statement>(db_, sql);
        return *s;
    }

    template <typename Key> std::optional<std::string> single(const char* sql, const Key& key) {
        std::lock_guard lock(mutex_);
        Statement& s = prepared(sql);
        if (!s.bind(key).step()) return std::nullopt;
        std::string value = s.text(0);
        s.done();
        return value;
    }

    template <typename Key> bool change(const char* sql, const Key& key) {
        std::lock_guard lock(mutex_);
        prepared(sql).bind(key).run();
        return sqlite3_changes(db_) > 0;
    }

    int rankLocked(const std::string& stageId, std::int64_t id, std::int32_t frames) {
        Statement& s =
            prepared("SELECT COUNT(*) FROM runs WHERE stage = ? AND (frames < ? OR (frames = ? AND id < ?))");
        s.bind(stageId, frames, frames, id).step();
        const int ahead = int(s.integer(0));
        s.done();
        return ahead + 1;
    }

    int schemaVersion() {
        Statement there(db_, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'schema_version'");
        if (!there.step()) return 0;
        Statement version(db_, "SELECT COALESCE(MAX(version), 0) FROM schema_version");
        version.step();
        return int(version.integer(0));
    }

    void migrate() {
        std::lock_guard lock(mutex_);
        const int latest = int(std::size(Migrations));
        if (schemaVersion() == latest) return; // a read only: a read-only file of the current schema opens
        exec("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
        Transaction tx(*this);
        const int at = schemaVersion();
        if (at > latest)
            throw StoreUnavailable("sqlite: the database is of a newer server (schema " + std::to_string(at) +
                                   ")");
        for (int v = at; v < latest; ++v)
            exec(Migrations[v]);
        if (at < latest) {
            Statement set(db_, "INSERT INTO schema_version (version) VALUES (?)");
            set.bind(latest).run();
        }
        tx.commit();
    }

    sqlite3* db_ = nullptr;
    std::mutex mutex_;
    std::map<const char*, std::unique_ptr<Statement>> statements_; // keyed by the SQL literal's address
};
} // namespace

std::unique_ptr<Store> openSqliteStore(const std::string& path) {
    return std::make_unique<SqliteStore>(path);
}
