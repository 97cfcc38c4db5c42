#include "core/online/RecordsClient.h"

#include "core/online/Answers.h"
#include "core/online/ContentId.h"
#include "core/online/UnsentRuns.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace online {
namespace {
// Ghosts kept in memory: a few stages' worth, each at most a submitted replay's size.
constexpr std::size_t MaxKeptRuns = 8;
constexpr std::size_t MaxKeptBests = 1024;

std::string base64(std::string_view bytes) {
    static constexpr char Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t v = 0;
        for (std::size_t k = 0; k < 3; ++k)
            v = v << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= n ? Digits[(v >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}
} // namespace

RecordsClient::RecordsClient(std::string server, bool submitting)
    : server_(std::move(server)), submitting_(submitting), player_(loadOnlinePlayer(server_)) {}

bool RecordsClient::Send(Kind kind, std::string key, Request request, std::string sent) {
    if (pending_.size() >= MaxInFlight) return false;
    request.tag = nextTag_++;
    pending_[request.tag] = {kind, std::move(key), std::move(sent)};
    outgoing_.push_back(std::move(request));
    return true;
}

void RecordsClient::Say(online::Status status, int number, std::string detail) {
    status_ = {status, number, std::move(detail), status_.serial + 1};
}

bool RecordsClient::LookUp(const std::string& stageId) {
    if (OnItsWay(Kind::LookUp, stageId)) return true;
    Request request;
    request.path = std::string(ApiRoot) + "/stages/" + stageId + "/runs?limit=1";
    if (player_) request.token = player_->token; // the answer then holds the player's rank
    return Send(Kind::LookUp, stageId, std::move(request));
}

const WorldBest* RecordsClient::Best(const std::string& stageId) const {
    const auto it = bests_.find(stageId);
    return it == bests_.end() ? nullptr : &it->second;
}

bool RecordsClient::OnItsWay(Kind kind, const std::string& key) const {
    return std::any_of(pending_.begin(), pending_.end(),
                       [&](const auto& p) { return p.second.kind == kind && p.second.key == key; });
}

void RecordsClient::ListStages(int page) {
    listing_ = std::clamp(page, 0, MaxStagePage);
    listingSent_ = false;
    SendListing();
}

void RecordsClient::SendListing() {
    const std::string key = std::to_string(listing_);
    if (listingSent_ || OnItsWay(Kind::ListStages, key)) {
        listingSent_ = true;
        return;
    }
    // The server lists the shipped stages first: page 0 asks past them to learn how many lead
    // the list, and every page asks one stage more than it shows to know whether another follows.
    const int offset = listing_ == 0 ? 0 : shippedListed_ + listing_ * StagesPerPage;
    const int limit = StagesPerPage + 1 + (listing_ == 0 ? MaxStageNumber : 0);
    Request request;
    request.path =
        std::string(ApiRoot) + "/stages?offset=" + std::to_string(offset) + "&limit=" + std::to_string(limit);
    listingSent_ = Send(Kind::ListStages, key, std::move(request));
}

void RecordsClient::FetchStage(const std::string& stageId) {
    if (!isStageContentId(stageId) || stageFiles_.contains(stageId) || OnItsWay(Kind::FetchStage, stageId))
        return;
    Request request;
    request.path = std::string(ApiRoot) + "/stages/" + stageId;
    Send(Kind::FetchStage, stageId, std::move(request));
}

const std::string* RecordsClient::StageFile(const std::string& stageId) const {
    const auto it = stageFiles_.find(stageId);
    return it == stageFiles_.end() ? nullptr : &it->second;
}

void RecordsClient::FetchRun(std::int64_t runId) {
    const std::string key = std::to_string(runId);
    if (runs_.contains(runId) || OnItsWay(Kind::FetchRun, key)) return;
    Request request;
    request.path = std::string(ApiRoot) + "/runs/" + key;
    Send(Kind::FetchRun, key, std::move(request));
}

const std::string* RecordsClient::Run(std::int64_t runId) const {
    const auto it = runs_.find(runId);
    return it == runs_.end() ? nullptr : &it->second;
}

void RecordsClient::SubmitBestRun(const std::string& stageId, const std::string& replay) {
    if (!submitting_) return;
    // Everything goes out through the unsent runs, so a run that meets no server stays there.
    std::error_code error;
    if (!keepUnsentRun(stageId, replay, error)) Say(online::Status::Refused, 0, error.message());
    wantsName_ = !player_;
    SendUnsent();
}

void RecordsClient::SendUnsent() {
    if (!submitting_ || !player_) return;
    for (const std::string& id : unsentStageIds()) {
        if (OnItsWay(Kind::Submit, id)) continue;
        std::optional<std::string> replay = readUnsentRun(id);
        if (!replay) continue;
        Request request{0,
                        Method::Post,
                        std::string(ApiRoot) + "/stages/" + id + "/runs",
                        *replay,
                        "application/octet-stream",
                        player_->token};
        if (!Send(Kind::Submit, id, std::move(request), std::move(*replay))) break;
    }
}

void RecordsClient::ClaimName(const std::string& name) {
    wantsName_ = false;
    claiming_ = name;
    Send(Kind::Claim, name,
         {0, Method::Post, std::string(ApiRoot) + "/players", nlohmann::json{{"name", name}}.dump(),
          "application/json", ""});
}

void RecordsClient::Publish(const std::string& stageFile, const std::string& replay) {
    publishing_.emplace(stageFile, replay);
    if (!player_) wantsName_ = true;
    SendPublish();
}

void RecordsClient::SendPublish() {
    if (!publishing_ || !player_) return;
    const nlohmann::json body = {{"stage", base64(publishing_->first)},
                                 {"replay", base64(publishing_->second)}};
    if (Send(Kind::Publish, "",
             {0, Method::Post, std::string(ApiRoot) + "/stages", body.dump(), "application/json",
              player_->token}))
        publishing_.reset();
}

void RecordsClient::OutOfReach() {
    Say(online::Status::OutOfReach, int(unsentStageIds().size()));
}

// The name is gone from the server (an operator's removal): the player is asked for another.
void RecordsClient::ForgetName() {
    player_.reset();
    wantsName_ = true;
}

void RecordsClient::Receive(const Answer& answer) {
    const auto it = pending_.find(answer.tag);
    if (it == pending_.end()) return;
    const Pending pending = std::move(it->second);
    pending_.erase(it);
    switch (pending.kind) {
    case Kind::LookUp:
        if (const std::optional<TopRuns> top =
                answer.status == 200 ? parseTopRuns(answer.body) : std::nullopt) {
            if (bests_.size() >= MaxKeptBests) bests_.clear();
            WorldBest& best = bests_[pending.key] = {};
            best.rank = top->rank;
            if (!top->runs.empty())
                best.frames = top->runs[0].frames, best.holder = top->runs[0].name,
                best.runId = top->runs[0].id;
        } else if (answer.status == 0 || answer.status >= 500) {
            OutOfReach();
        }
        break;
    case Kind::FetchRun:
        if (answer.status == 200 && answer.body.size() <= MaxSubmittedReplayBytes) {
            if (runs_.size() >= MaxKeptRuns) runs_.clear();
            runs_[std::stoll(pending.key)] = answer.body;
        }
        break;
    case Kind::ListStages:
        Listed(std::stoi(pending.key), answer);
        break;
    case Kind::FetchStage: // only the content the id names: a server cannot slip in another stage
        if (answer.status == 200 && stageContentId(answer.body) == pending.key) {
            if (stageFiles_.size() >= MaxKeptRuns) stageFiles_.clear();
            stageFiles_[pending.key] = answer.body;
        } else {
            OutOfReach();
        }
        break;
    case Kind::Submit:
        Submitted(pending, answer);
        break;
    case Kind::Claim:
        Claimed(answer);
        break;
    case Kind::Publish:
        Published(answer);
        break;
    }
    // What waited for a place among the requests on their way (or, a publish, for a name).
    SendListing();
    SendPublish();
}

void RecordsClient::Submitted(const Pending& pending, const Answer& answer) {
    if (answer.status == 422) { // the server will never take this run: it waits no longer
        dropUnsentRun(pending.key, pending.sent);
        return Say(online::Status::Refused, 0, parseRefusal(answer.body));
    }
    if (answer.status == 401) return ForgetName();
    const std::optional<SubmitAnswer> kept =
        answer.status == 200 || answer.status == 201 ? parseSubmitAnswer(answer.body) : std::nullopt;
    if (!kept) return OutOfReach(); // busy, out of reach or garbage: the run waits for another turn
    dropUnsentRun(pending.key, pending.sent);
    Say(answer.status == 201 ? online::Status::Sent : online::Status::NotBetter, kept->rank);
    LookUp(pending.key); // the world best may be the player's now
}

void RecordsClient::Claimed(const Answer& answer) {
    const std::string name = std::exchange(claiming_, {});
    if (answer.status == 409 || answer.status == 422) {
        wantsName_ = true;
        return Say(online::Status::NameTaken, 0, name);
    }
    const std::optional<PlayerClaim> claim =
        answer.status == 201 ? parsePlayerClaim(answer.body) : std::nullopt;
    if (!claim) return OutOfReach();
    player_ = OnlinePlayer{server_, claim->name, claim->token};
    if (!saveOnlinePlayer(*player_)) Say(online::Status::Refused, 0, "the name could not be kept");
    SendUnsent();
}

void RecordsClient::Listed(int page, const Answer& answer) {
    std::optional<std::vector<StageEntry>> stages =
        answer.status == 200 ? parseStageList(answer.body) : std::nullopt;
    if (!stages) return OutOfReach();
    if (page != listing_) return;
    const auto shipped = [](const StageEntry& s) { return s.number.has_value(); };
    if (page == 0)
        shippedListed_ = int(std::find_if_not(stages->begin(), stages->end(), shipped) - stages->begin());
    std::erase_if(*stages, shipped); // only where a server that lies puts them
    const int serial = published_ ? published_->serial + 1 : 1;
    if (stages->empty() && page > 0) { // past the end (the list shrank): the page held was the last
        if (published_) published_->more = false, published_->serial = serial;
        return;
    }
    const bool more = stages->size() > std::size_t(StagesPerPage) && page < MaxStagePage;
    stages->resize(std::min(stages->size(), std::size_t(StagesPerPage)));
    published_ = StagePage{page, std::move(*stages), more, serial};
}

void RecordsClient::Published(const Answer& answer) {
    if (answer.status == 401) return ForgetName();
    if ((answer.status == 200 || answer.status == 201) && parsePublishAnswer(answer.body))
        return Say(online::Status::Published);
    if (answer.status < 400) return OutOfReach();
    // A refusal, or a server too busy for it now (429, 503): the player hears its reason, and
    // the stage, which a publish only reads, can go again later.
    const std::string reason = parseRefusal(answer.body);
    Say(online::Status::PublishRefused, 0, reason.empty() ? "HTTP " + std::to_string(answer.status) : reason);
}

} // namespace online
