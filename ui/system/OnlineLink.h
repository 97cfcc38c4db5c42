#pragma once
// The game's tie to the online records: the client the settings ask for, the network under it
// pumped once a frame, the name asked for on the first run sent, and the quiet status line that
// says what became of a run (never a box in play).
#include "core/online/RecordsClient.h"
#include "core/settings/Settings.h"
#include "ui/render/TextLabel.h"

#include <array>
#include <map>
#include <memory>
#include <string>

class OnlineLink {
public:
    // A new client when the records are turned on or the address changed; none when they are off
    // (a page keeps one for reading, which needs no consent there).
    void Follow(const Settings& settings);
    // nullptr while the game talks to no server.
    online::RecordsClient* Records() { return client_.get(); }
    const online::RecordsClient* Records() const { return client_.get(); }

    // Once a frame: the requests out, the answers in, the status line up to date.
    void Pump(GlyphCache& cache);
    void DrawStatus() const;
    bool StatusShown() const { return status_ && statusFrames_ > 0; }

    // The new best run at `replayPath` of the stage at `stagePath`: sent, or kept to be sent. The
    // player's name is asked for first when there is none yet.
    void SubmitBestRun(const std::string& stagePath, const std::string& replayPath);
    // Publishes the stage at `stagePath` with the player's clear of it at `replayPath`, the name
    // asked for first as above. False when either file cannot be read.
    bool Publish(const std::string& stagePath, const std::string& replayPath);

    // The content id of shipped stage `stageNumber` (0-based), read once; "" when unreadable.
    const std::string& ShippedStageId(int stageNumber);
    // The content id of the stage file at `path`, read now; "" when unreadable.
    static std::string StageIdOf(const std::string& path);

private:
    void AskName();

    std::unique_ptr<online::RecordsClient> client_;
    // The transport's tags are the link's own, so an answer meant for a client the settings have
    // since replaced finds no one instead of another request of the new client's.
    int nextTag_ = 1;
    std::map<int, int> clientTags_; // transport tag -> the client's
    std::unique_ptr<TextLabel> status_;
    int shownSerial_ = 0;
    int statusFrames_ = 0; // the line fades after a while: it is news, not a state
    std::array<std::string, 10> shippedIds_;
};
