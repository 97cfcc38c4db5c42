#pragma once
// The online records' API as data: its paths, its limits and what its answers carry, shared by
// the game and twirlstick-server. The wire form is JSON under /api/v1/ (README, "Online records").
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace online {

inline constexpr const char* ApiRoot = "/api/v1";

// The largest replay file the server takes, whatever the stage's time limit would allow; the
// game's own reader allows up to 16 MiB for the longest limits, which no played run comes near
// (a replay grows by a line per click, about 8 bytes).
inline constexpr std::size_t MaxSubmittedReplayBytes = 1024 * 1024;
// A publish request: a stage file and a replay, each base64 (4 bytes per 3) in a JSON object.
inline constexpr std::size_t MaxPublishBodyBytes = (64 * 1024 + MaxSubmittedReplayBytes) / 3 * 4 + 4096;
inline constexpr std::size_t MaxPlayerBodyBytes = 64 * 1024;
inline constexpr int MaxTopRuns = 100;
inline constexpr int MaxStagesPage = 200;
// The shipped stages are numbered from 1 to this; the server lists them before the published.
inline constexpr int MaxStageNumber = 10;

// POST /players -> 201
struct PlayerClaim {
    std::string name;
    std::string token; // shown once; the server keeps only its SHA-256
};

// GET /stages -> 200 {"stages": [...]}
struct StageEntry {
    std::string id;            // stageContentId of the file's bytes
    std::string title;         // UTF-8, as the stage file has it
    std::optional<int> number; // 1-10 for the shipped stages, none for published ones
    std::string maker;         // the publishing player's name; empty for shipped stages
};

// GET /stages/{id}/runs -> 200 {"runs": [...], "rank": caller's rank or null}
struct RunEntry {
    std::int64_t id = 0;
    std::string name;
    std::int32_t frames = 0;
    std::string date; // UTC, ISO 8601, when the server accepted it
};

// POST /stages/{id}/runs -> 201 (kept as the player's best), 200 (not better than it), 422 {"error"}
struct SubmitAnswer {
    std::int64_t id = 0; // the run that stands as the player's best
    std::int32_t frames = 0;
    int rank = 0; // 1 = the world best
    bool kept = false;
};

} // namespace online
