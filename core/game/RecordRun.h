#pragma once
// Plays a record's flags through a fresh bar from the stage's start, exactly as an attempt is
// played, and says how the attempt ends.
#include "core/game/Attempt.h"
#include "core/game/InputRecord.h"
#include "core/stage/Stage.h"

struct RecordRunResult {
    FrameOutcome outcome = FrameOutcome::Continue; // Continue: the record ran out first
    std::int32_t frames = 0;                       // frames played, the ending frame included
};

// Once the record has no input left the bar only turns in place about a fixed pivot, so a line
// it has not touched in one whole turn is taken as never touched: the run is then settled at
// once (a time-out when the time ends first, else the record's end) instead of playing frames
// that can number two billion. record.played() tells how many frames were actually played.
RecordRunResult runRecord(const Stage& stage, InputRecord& record);

// Whether replaying the record from the stage's start clears it in exactly the frames the record
// claims. A best run is trusted only then: a forged one-frame file would block every new best,
// and one made on another stage would show a time nobody made here. Leaves the record rewound.
bool clearsAsClaimed(const Stage& stage, InputRecord& record);
