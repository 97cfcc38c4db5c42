#pragma once
// The game's side of the online records without the network: it says which requests to send and
// reads their answers, and the transport (a worker thread, or the browser's fetch) carries them.
// Nothing here waits: the frame loop hands over the requests and the answers once a frame.
#include "core/online/OnlinePlayer.h"
#include "core/online/Protocol.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace online {

enum class Method { Get, Post };

struct Request {
    int tag = 0;
    Method method = Method::Get;
    std::string path; // from the host on: "/api/v1/..."
    std::string body;
    std::string contentType;
    std::string token; // sent as "Authorization: Bearer TOKEN" when not empty
};

struct Answer {
    int tag = 0;
    int status = 0; // 0: no answer (out of reach, timed out, larger than any true answer)
    std::string body;
};

// A stage's world best as last heard, and the player's place there.
struct WorldBest {
    std::int32_t frames = 0; // 0: nobody has a run there yet
    std::string holder;
    std::int64_t runId = 0;
    std::optional<int> rank;
};

// What the quiet status line says about the last thing that happened.
enum class Status {
    None,
    Sent,          // a run was kept; `number` is its rank
    NotBetter,     // a run reached the server but the player's own there is better
    Refused,       // the server refused a run; `detail` is its reason
    OutOfReach,    // no answer; `number` runs wait to be sent
    NameTaken,     // the name asked for belongs to someone else
    Published,     // a stage was published
    PublishRefused // `detail` is the reason
};

// A page of the published stages as last listed.
struct StagePage {
    int page = 0; // counted from 0
    std::vector<StageEntry> stages;
    bool more = false; // another page follows
    int serial = 0;    // counts every change, so a screen knows when to show it afresh
};

struct StatusLine {
    Status status = Status::None;
    int number = 0;
    std::string detail;
    int serial = 0; // counts every change, so a screen knows when to show it afresh
};

class RecordsClient {
public:
    // At most this many requests are on their way at once; more wait for a later frame.
    static constexpr std::size_t MaxInFlight = 8;

    // `server` is the address the player's name is kept for ("" in a browser: the page's own
    // origin); runs are sent only when `submitting` (the player said so).
    RecordsClient(std::string server, bool submitting);

    const std::string& Server() const { return server_; }
    bool Submitting() const { return submitting_; }

    // Asks for a stage's world best (and the player's rank), unless that question is on its way.
    // False when it could not go out now (too many on their way): ask again on a later frame.
    bool LookUp(const std::string& stageId);
    const WorldBest* Best(const std::string& stageId) const;

    // The published stages come a page at a time, so a gallery of any size costs one page.
    static constexpr int StagesPerPage = 10;
    static constexpr int MaxStagePage = 1 << 24; // keeps the server's offset within an int
    // Asks for page `page` of the published stages unless it is on its way (or, with too many
    // requests on their way, once one is answered). The page held stays until it comes, and
    // stays when it does not (the status line says so).
    void ListStages(int page);
    // The published stages as last listed; nullptr until the server has listed them.
    const StagePage* Published() const { return published_ ? &*published_ : nullptr; }
    // Asks for a stage file by its content id unless it is here or on its way.
    void FetchStage(const std::string& stageId);
    // The stage file, once it came and its bytes are the content the id names.
    const std::string* StageFile(const std::string& stageId) const;

    // Asks for a run's replay (the world best's ghost) unless it is here or on its way.
    void FetchRun(std::int64_t runId);
    const std::string* Run(std::int64_t runId) const;

    // Keeps a new best run in the unsent runs and sends what waits there.
    void SubmitBestRun(const std::string& stageId, const std::string& replay);
    // Sends the runs that wait and are not on their way; without a name, asks for one instead.
    void SendUnsent();

    // A run waits and the player has no name on this server yet: the game asks for one (once a
    // run; a player who says no is asked again only when the next best run is made).
    bool WantsName() const { return wantsName_; }
    const std::optional<OnlinePlayer>& Player() const { return player_; }
    void ClaimName(const std::string& name);
    void DeclineName() { wantsName_ = false; }

    // Publishes a stage file with the player's clear of it; without a name, once one is claimed,
    // and with too many requests on their way, once one is answered.
    void Publish(const std::string& stageFile, const std::string& replay);

    std::vector<Request> TakeRequests() { return std::exchange(outgoing_, {}); }
    void Receive(const Answer& answer);
    const StatusLine& Line() const { return status_; }

private:
    enum class Kind { LookUp, FetchRun, Submit, Claim, Publish, ListStages, FetchStage };
    struct Pending {
        Kind kind;
        std::string key;  // the stage id, or the run id
        std::string sent; // a submitted run's replay
    };

    bool Send(Kind kind, std::string key, Request request, std::string sent = {});
    bool OnItsWay(Kind kind, const std::string& key) const;
    void Say(online::Status status, int number = 0, std::string detail = {});
    void OutOfReach();
    void ForgetName();
    void Submitted(const Pending& pending, const Answer& answer);
    void Claimed(const Answer& answer);
    void SendListing();
    void SendPublish();
    void Published(const Answer& answer);
    void Listed(int page, const Answer& answer);

    std::string server_;
    bool submitting_;
    std::optional<OnlinePlayer> player_;
    bool wantsName_ = false;
    std::string claiming_; // the name asked for, until the server answers
    // Stage and clear, waiting for a name or for a place among the requests on their way.
    std::optional<std::pair<std::string, std::string>> publishing_;
    int nextTag_ = 1;
    std::map<int, Pending> pending_;
    std::vector<Request> outgoing_;
    std::map<std::string, WorldBest> bests_;
    std::map<std::int64_t, std::string> runs_;
    std::optional<StagePage> published_;
    int listing_ = 0;         // the page asked for last: an answer for another comes too late
    bool listingSent_ = true; // false while it waits for a place among the requests on their way
    int shippedListed_ = 0;   // the shipped stages that head the server's list, learnt on page 0
    std::map<std::string, std::string> stageFiles_;
    StatusLine status_;
};

} // namespace online
