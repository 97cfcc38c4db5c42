// Any stage and replay: the best-run check and the stage tool's verify settle within the frames
// the replay holds plus one turn of the bar, and agree with each other. The stage comes before
// the first "\n=\n", the replay after it; the time limit is kept to two minutes of play so that a
// run of input-filled frames stays quick.
#include "core/game/RecordRun.h"
#include "core/stage/StageFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t split = bytes.find("\n=\n");
    Stage stage;
    parseStage(bytes.substr(0, split), stage);
    stage.timeLimit = std::clamp(stage.timeLimit, -1, 120);
    InputRecord record;
    record.parse(split == std::string_view::npos ? std::string() : std::string(bytes.substr(split + 3)));
    const RecordRunResult run = runRecord(stage, record);
    if (run.frames < 0 || run.frames > std::max(record.total(), 0)) std::abort();
    if (record.played() > run.frames) std::abort();
    const bool clears = clearsAsClaimed(stage, record);
    if (clears != (run.outcome == FrameOutcome::Goal && run.frames == record.total())) std::abort();
    return 0;
}
