#pragma once
// A stage's best run from its replay file, read and checked once and kept while the file and the
// stage stay as they were: every attempt is a fresh play scene, and a large or forged file would
// otherwise be read and replayed again at each of them.
#include "core/game/InputRecord.h"
#include "core/stage/Stage.h"

#include <memory>
#include <string>

// A copy of the trusted best run (rewound), or nullptr when the file is missing or is no clear of
// this stage as it claims; `problem` says why a file that was there was refused, the first time only.
// Reading never writes: a refused file is kept aside only when a clear is about to replace it.
std::unique_ptr<InputRecord> loadBestRun(const std::string& path, const Stage& stage, std::string& problem);

// Keeps what stands at `path` beside it as PATH.old-HASH (HASH names its content), so a run the
// player made on the stage before it changed is never lost: a readable file is copied (a file
// already at the kept name stays as it was); a link, or a file that cannot be read, is moved
// aside whole, never followed. The kept path, or "" when nothing could be kept.
std::string keepRefusedBestRun(const std::string& path);

// Writes a new best run of `stage` to `path`. What stood there and was no trusted best run of the
// stage (refused for any reason: no clear, too large, a link, unreadable) is first kept aside
// (keepRefusedBestRun; its name in `kept`). False, with the reason in `error`, when the run could not
// be written: then it is no record, and the caller must say so.
bool saveBestRun(const std::string& path, const Stage& stage, const InputRecord& record,
                 std::error_code& error, std::string* kept = nullptr);

// A shipped stage's proven route (the guide), read and checked as a best run is, but never kept
// as an older run nor cached: it lives among the game's own data, not the player's files.
std::unique_ptr<InputRecord> loadProvenRoute(const std::string& path, const Stage& stage,
                                             std::string& problem);
