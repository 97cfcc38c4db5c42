// Any bytes as a stage file: reading never crashes, and what it gives keeps the stage's
// invariants, survives every operation the game and the writer apply, and reads back the same.
#include "stage/StageFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Stage stage;
    parseStage(std::string_view(reinterpret_cast<const char*>(data), size), stage);
    for (const Segment& s : stage.segments) {
        if (s.kind == FreeSegment) continue;
        if (!stage.holdsPoint(s.low) || !stage.holdsPoint(s.high) || s.low >= s.high) std::abort();
    }
    stage.hitLine(stage.initialPivot, {stage.initialPivot.x + 60, stage.initialPivot.y});
    stage.compact();
    const std::string text = formatStage(stage);
    Stage again;
    parseStage(text, again);
    if (again.pointCount() != stage.pointCount() || again.segmentCount() != stage.segmentCount())
        std::abort();
    return 0;
}
