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
// A readable file that no longer clears (its stage has changed) is first kept as PATH.old-HASH.
std::unique_ptr<InputRecord> loadBestRun(const std::string& path, const Stage& stage, std::string& problem);

// A shipped stage's proven route (the guide), read and checked as a best run is, but never kept
// as an older run nor cached: it lives among the game's own data, not the player's files.
std::unique_ptr<InputRecord> loadProvenRoute(const std::string& path, const Stage& stage,
                                             std::string& problem);
