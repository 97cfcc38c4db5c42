#include "server/RecordsServer.h"

#include "core/base/FileAccess.h"
#include "core/base/Utf.h"
#include "core/game/RunCheck.h"
#include "core/online/ContentId.h"
#include "core/online/PlayerName.h"
#include "core/online/Sha256.h"
#include "core/stage/StageFile.h"
#include "server/StaticFiles.h"

#include <nlohmann/json.hpp>
#include <sys/random.h>

#include <charconv>
#include <cstdio>
#include <ctime>

using nlohmann::json;

namespace {
constexpr const char* Json = "application/json";
constexpr std::size_t MaxCachedStages = 256;

void answer(httplib::Response& res, int status, const json& body) {
    res.status = status;
    res.set_content(body.dump(), Json); // dump escapes every control character; nothing is HTML
}

void refuse(httplib::Response& res, int status, const std::string& reason) {
    answer(res, status, {{"error", reason}});
}

void busy(httplib::Response& res, int retryAfterSeconds, const std::string& reason) {
    res.set_header("Retry-After", std::to_string(retryAfterSeconds));
    refuse(res, 503, reason);
}

// A fresh secret: 32 bytes from the kernel's generator, as 64 hex digits.
std::string newToken() {
    unsigned char bytes[32];
    for (std::size_t got = 0; got < sizeof bytes;) {
        const ssize_t n = getrandom(bytes + got, sizeof bytes - got, 0);
        if (n < 0) throw std::runtime_error("getrandom failed");
        got += std::size_t(n);
    }
    static constexpr char Digits[] = "0123456789abcdef";
    std::string token;
    for (const unsigned char b : bytes) {
        token += Digits[b >> 4];
        token += Digits[b & 15];
    }
    return token;
}

std::string bearerTokenHash(const httplib::Request& req) {
    const std::string value = req.get_header_value("Authorization");
    constexpr std::string_view Prefix = "Bearer ";
    if (!value.starts_with(Prefix) || value.size() > 200) return "";
    return sha256Hex(value.substr(Prefix.size()));
}

std::string utcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    gmtime_r(&now, &t);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &t);
    return text;
}

// A query number in [low, high], `fallback` when absent or not a number.
int queryNumber(const httplib::Request& req, const char* key, int fallback, int low, int high) {
    if (!req.has_param(key)) return fallback;
    const std::string text = req.get_param_value(key);
    int value = fallback;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return fallback;
    return std::clamp(value, low, high);
}

std::optional<std::string> decodeBase64(std::string_view text) {
    std::string out;
    std::uint32_t bits = 0;
    int count = 0, padding = 0;
    for (const char c : text) {
        int v;
        if (c >= 'A' && c <= 'Z')
            v = c - 'A';
        else if (c >= 'a' && c <= 'z')
            v = c - 'a' + 26;
        else if (c >= '0' && c <= '9')
            v = c - '0' + 52;
        else if (c == '+' || c == '-')
            v = 62;
        else if (c == '/' || c == '_')
            v = 63;
        else if (c == '=') {
            ++padding;
            continue;
        } else
            return std::nullopt;
        if (padding) return std::nullopt; // data after the padding
        bits = bits << 6 | std::uint32_t(v);
        if (++count % 4 == 0) {
            out += char(bits >> 16), out += char(bits >> 8), out += char(bits);
            bits = 0;
        }
    }
    if (count % 4 == 1 || padding > 2) return std::nullopt;
    if (count % 4 == 2) out += char(bits >> 4);
    if (count % 4 == 3) out += char(bits >> 10), out += char(bits >> 2);
    return out;
}

// The JSON object of a request body, or nullopt after answering 400.
std::optional<json> objectBody(const httplib::Request& req, httplib::Response& res) {
    json body = json::parse(req.body, nullptr, false);
    if (body.is_discarded() || !body.is_object()) {
        refuse(res, 400, "the body is not a JSON object");
        return std::nullopt;
    }
    return body;
}

std::optional<std::string> stringField(const json& body, const char* key) {
    const auto it = body.find(key);
    if (it == body.end() || !it->is_string()) return std::nullopt;
    return it->get<std::string>();
}

json runsJson(const std::vector<online::RunEntry>& runs) {
    json list = json::array();
    for (const online::RunEntry& r : runs)
        list.push_back({{"id", r.id}, {"name", r.name}, {"frames", r.frames}, {"date", r.date}});
    return list;
}
} // namespace

namespace {
ConnectionLimits connectionLimits(const ServerOptions& o) {
    return {o.workers, o.queuedConnections, o.idleConnections, std::chrono::seconds(o.timeoutSeconds),
            std::chrono::seconds(o.requestSeconds)};
}
} // namespace

RecordsServer::RecordsServer(Store& store, ServerOptions options)
    : store_(store), options_(std::move(options)), http_(connectionLimits(options_)),
      slots_(options_.verifications), buckets_(options_.writesPerSecond, options_.writeBurst) {
    http_.set_payload_max_length(online::MaxPublishBodyBytes);
    http_.set_keep_alive_max_count(100);
    // Answers are small and written in pieces (headers, body): without this, delayed ACKs hold
    // each keep-alive answer back about 40 ms.
    http_.set_tcp_nodelay(true);
    routes();
}

RecordsServer::~RecordsServer() {
    stop();
}

bool RecordsServer::bind(const std::string& host, int& port) {
    return http_.bindTo(host, port);
}

bool RecordsServer::run() {
    return http_.serve();
}

void RecordsServer::stop() {
    http_.halt();
}

std::shared_ptr<const Stage> RecordsServer::stageById(const std::string& id) {
    // The store is asked every time (the operator may have removed the stage); the parse is
    // kept, as a content id always names the same content.
    const std::optional<std::string> file = store_.stageFile(id);
    if (!file) return nullptr;
    std::lock_guard lock(stageMutex_);
    auto& slot = stages_[id];
    if (!slot) {
        auto stage = std::make_shared<Stage>();
        parseStage(*file, *stage);
        slot = std::move(stage);
    }
    std::shared_ptr<const Stage> stage = slot;
    if (stages_.size() > MaxCachedStages) stages_.clear();
    return stage;
}

std::optional<RunVerdict> RecordsServer::checked(const Stage& stage, std::string_view replay) {
    if (!slots_.acquire()) return std::nullopt;
    struct Release {
        VerificationSlots& slots;
        ~Release() { slots.release(); }
    } release{slots_};
    return checkRun(stage, replay);
}

bool RecordsServer::mayWrite(const httplib::Request& req, httplib::Response& res) {
    int retry = 0;
    if (buckets_.take(req.remote_addr, retry)) return true;
    res.set_header("Retry-After", std::to_string(retry));
    refuse(res, 429, "too many requests");
    return false;
}

std::optional<StoredPlayer> RecordsServer::writingPlayer(const httplib::Request& req,
                                                         httplib::Response& res) {
    std::optional<StoredPlayer> player = store_.playerByToken(bearerTokenHash(req));
    if (!player) {
        refuse(res, 401, "a player's token is needed (Authorization: Bearer TOKEN)");
        return std::nullopt;
    }
    if (!mayWrite(req, res)) return std::nullopt;
    return player;
}

void RecordsServer::logFailure(const std::string& what) {
    std::lock_guard lock(logMutex_);
    if (what == lastFailure_) return; // one line for an outage, not one for each request it fails
    lastFailure_ = what;
    std::fprintf(stderr, "twirlstick-server: %s\n", what.c_str());
}

void RecordsServer::routes() {
    http_.set_pre_routing_handler([](const httplib::Request&, httplib::Response& res) {
        if (!BoundedPool::refusingNow()) return httplib::Server::HandlerResponse::Unhandled;
        busy(res, 1, "the server is busy");
        return httplib::Server::HandlerResponse::Handled;
    });
    http_.set_exception_handler(
        [this](const httplib::Request&, httplib::Response& res, std::exception_ptr e) {
            // The operator reads why in the log; the client is told only what it can act on.
            try {
                std::rethrow_exception(e);
            } catch (const StoreUnavailable& failure) {
                logFailure(failure.what());
                using Why = StoreUnavailable::Why;
                busy(res, 5,
                     failure.why == Why::DiskFull   ? "the records cannot be written now: the disk is full"
                     : failure.why == Why::ReadOnly ? "the records cannot be written now: they are read-only"
                                                    : "the records are out of reach for a moment");
            } catch (const std::exception& failure) {
                logFailure(failure.what());
                refuse(res, 500, "internal error");
            } catch (...) {
                refuse(res, 500, "internal error");
            }
        });
    // Every answer is JSON or a file; an error httplib makes itself (404, 413, 400) gets a reason.
    http_.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty()) return;
        const int s = res.status;
        refuse(res, s,
               s == 404   ? "no such call"
               : s == 413 ? "the body is too large"
               : s == 400 ? "a broken request"
                          : "HTTP " + std::to_string(s));
    });

    const std::string api = online::ApiRoot;
    http_.Get(api + "/health", [](const httplib::Request&, httplib::Response& res) {
        answer(res, 200, {{"status", "ok"}});
    });

    http_.Post(api + "/players", [this](const httplib::Request& req, httplib::Response& res) {
        if (req.body.size() > online::MaxPlayerBodyBytes) return refuse(res, 413, "the body is too large");
        if (!mayWrite(req, res)) return;
        const std::optional<json> body = objectBody(req, res);
        if (!body) return;
        const std::optional<std::string> name = stringField(*body, "name");
        if (!name || !isValidPlayerName(*name))
            return refuse(res, 422, "a name is 1 to 24 letters, digits, spaces, '-' or '_'");
        const std::string token = newToken();
        if (!store_.addPlayer(*name, playerNameKey(*name), sha256Hex(token)))
            return refuse(res, 409, "the name is taken");
        answer(res, 201, {{"name", *name}, {"token", token}});
    });

    http_.Get(api + "/stages", [this](const httplib::Request& req, httplib::Response& res) {
        const int offset = queryNumber(req, "offset", 0, 0, 1 << 30);
        const int limit = queryNumber(req, "limit", online::MaxStagesPage, 1, online::MaxStagesPage);
        json list = json::array();
        for (const online::StageEntry& s : store_.stages(offset, limit))
            list.push_back({{"id", s.id},
                            {"title", s.title},
                            {"number", s.number ? json(*s.number) : json(nullptr)},
                            {"maker", s.maker.empty() ? json(nullptr) : json(s.maker)}});
        answer(res, 200, {{"stages", list}});
    });

    const std::string stageId = api + "/stages/([0-9a-f]{32})";
    http_.Get(stageId, [this](const httplib::Request& req, httplib::Response& res) {
        const std::optional<std::string> file = store_.stageFile(req.matches[1]);
        if (!file) return refuse(res, 404, "unknown stage");
        res.set_content(*file, "application/octet-stream");
    });

    http_.Post(stageId + "/runs", [this](const httplib::Request& req, httplib::Response& res) {
        const std::optional<StoredPlayer> player = writingPlayer(req, res);
        if (!player) return;
        if (req.body.size() > online::MaxSubmittedReplayBytes) return refuse(res, 422, "too large");
        const std::shared_ptr<const Stage> stage = stageById(req.matches[1]);
        if (!stage) return refuse(res, 422, "unknown stage");
        const std::optional<RunVerdict> verdict = checked(*stage, req.body);
        if (!verdict) return busy(res, 1, "too many runs are being checked");
        if (!verdict->cleared) return refuse(res, 422, verdict->reason);
        const online::SubmitAnswer a =
            store_.submitRun(req.matches[1], player->id, verdict->frames, req.body, utcNow());
        answer(res, a.kept ? 201 : 200,
               {{"id", a.id}, {"frames", a.frames}, {"rank", a.rank}, {"kept", a.kept}});
    });

    http_.Get(stageId + "/runs", [this](const httplib::Request& req, httplib::Response& res) {
        const std::string id = req.matches[1];
        if (!store_.stageFile(id)) return refuse(res, 404, "unknown stage");
        const int limit = queryNumber(req, "limit", 10, 1, online::MaxTopRuns);
        json body = {{"runs", runsJson(store_.topRuns(id, limit))}, {"rank", nullptr}};
        if (req.has_header("Authorization"))
            if (const std::optional<StoredPlayer> player = store_.playerByToken(bearerTokenHash(req)))
                if (const std::optional<int> rank = store_.rankOf(id, player->id)) body["rank"] = *rank;
        answer(res, 200, body);
    });

    http_.Get(api + "/runs/([0-9]{1,18})", [this](const httplib::Request& req, httplib::Response& res) {
        const std::optional<std::string> replay = store_.runReplay(std::stoll(req.matches[1]));
        if (!replay) return refuse(res, 404, "unknown run");
        res.set_content(*replay, "application/octet-stream");
    });

    http_.Post(api + "/stages", [this](const httplib::Request& req, httplib::Response& res) {
        const std::optional<StoredPlayer> player = writingPlayer(req, res);
        if (!player) return;
        const std::optional<json> body = objectBody(req, res);
        if (!body) return;
        const std::optional<std::string> file = decodeBase64(stringField(*body, "stage").value_or("!"));
        const std::optional<std::string> replay = decodeBase64(stringField(*body, "replay").value_or("!"));
        if (!file || !replay) return refuse(res, 422, "\"stage\" and \"replay\" must be base64 strings");
        std::string reason;
        const std::optional<Stage> stage = readPublishedStage(*file, reason);
        if (!stage) return refuse(res, 422, "the stage: " + reason);
        if (replay->size() > online::MaxSubmittedReplayBytes)
            return refuse(res, 422, "the maker's clear: too large");
        const std::optional<RunVerdict> verdict = checked(*stage, *replay);
        if (!verdict) return busy(res, 1, "too many runs are being checked");
        if (!verdict->cleared) return refuse(res, 422, "the maker's clear: " + verdict->reason);
        const std::string id = stageContentId(*file);
        const bool added = store_.publishStage(id, toUtf8(stage->title), *file, player->id, verdict->frames,
                                               *replay, utcNow());
        answer(res, added ? 201 : 200, {{"id", id}});
    });

    // The browser build, same origin; anything else under /api/ is no call.
    http_.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
        if (req.path.starts_with("/api/") || options_.webFolder.empty())
            return refuse(res, 404, "no such call");
        serveStaticFile(options_.webFolder, req, res);
    });
}

bool addShippedStages(Store& store, const std::string& folder, std::string& problem) {
    for (int n = 1; n <= 10; ++n) {
        const std::string path = folder + "/stage" + std::to_string(n);
        std::error_code error;
        const std::optional<std::string> file =
            readRegularFile(path, {MaxStageFileBytes, true, false}, error);
        std::string reason;
        const std::optional<Stage> stage = file ? readPublishedStage(*file, reason) : std::nullopt;
        if (!stage) {
            problem = path + ": " + (file ? reason : error.message());
            return false;
        }
        store.putShippedStage(stageContentId(*file), n, toUtf8(stage->title), *file);
    }
    return true;
}
