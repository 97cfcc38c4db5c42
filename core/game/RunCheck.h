#pragma once
// The online records' trust (twirlstick-server checks every run and stage so): a run is its replay file,
// played by the core under the game's own rules, and a stage is its file's bytes. Nothing a client claims
// about a time is believed.
#include "core/stage/Stage.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How a submitted replay played out. `frames` is the clear's time when `cleared`; otherwise
// `reason` says why it was refused, in words a person can read ("wall at frame 120").
struct RunVerdict {
    bool cleared = false;
    std::int32_t frames = 0;
    std::string reason;
};

// Replays `replayBytes` (a replay file, BOM optional) on the stage as the game reads and plays a
// best run: refused when larger than the game's reader takes for the stage's time limit ("too
// large"), when it does not read as a replay, claims more frames than the limit, ends on a wall
// or by time before the goal, runs out of input first ("not a clear"), or clears on another frame
// than the one it claims. The work is bounded by the time limit's frames.
RunVerdict checkRun(const Stage& stage, std::string_view replayBytes);

// A stage file sent to be published: at most MaxStageFileBytes, reading as a stage that holds at
// least one goal, and storable as it is (the game could save it). nullopt with the reason else.
std::optional<Stage> readPublishedStage(std::string_view stageFileBytes, std::string& reason);
