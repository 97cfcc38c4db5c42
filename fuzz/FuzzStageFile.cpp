// Any bytes as a stage file: reading never crashes, and what it gives keeps the stage's
// invariants, can always be saved (the writer refuses nothing the reader makes), and reads back
// exactly: the same title, coordinates and lines. Inputs starting with 'G' generate a file from
// their bytes instead, with more points and lines than the tables hold, so that the full-table
// branches are reached without a corpus of 20 KB files.
#include "core/stage/StageFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {
const char* const OddNumbers[] = {"1e38",          "-0",    "1.5e-45", "nan", "inf", "1e39",
                                  "-3.40282e+038", "0x1p4", "7."};

std::string generatedStage(const std::uint8_t* data, std::size_t size) {
    std::size_t at = 0;
    const auto next = [&]() -> std::uint8_t { return size == 0 ? 0 : data[at++ % size]; };
    std::string text = "TITLE ";
    for (int i = next() * 2; i > 0; --i)
        text += char(next());
    text += "\r\nTIMELIMIT " + std::to_string(std::int32_t(next() << 24 | next() << 8 | next()));
    text += "\nINITPOS " + std::to_string(next() - 128) + " 0 " + std::to_string(next());
    text += "\nPOINT";
    for (int i = 400 + next(); i > 0; --i)
        for (int c = 0; c < 2; ++c) {
            const std::uint8_t b = next();
            text += " ";
            text += b % 23 == 0 ? OddNumbers[b % 9] : std::to_string((b - 128) * 37.25f);
        }
    for (int i = 400 + next(); i > 0; --i)
        text += std::string(next() % 2 ? "\nGOAL " : "\nWALL ") + std::to_string(next() * 3 % 620) + " " +
                std::to_string(next() * 5 % 620);
    return text + "\n";
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string input =
        size > 0 && data[0] == 'G' ? generatedStage(data + 1, size - 1) : std::string(bytes);
    Stage stage;
    parseStage(input, stage);
    for (const Segment& s : stage.segments) {
        if (s.kind == FreeSegment) continue;
        if (!stage.holdsPoint(s.low) || !stage.holdsPoint(s.high) || s.low >= s.high) std::abort();
    }
    stage.hitLine(stage.initialPivot, {stage.initialPivot.x + 60, stage.initialPivot.y});
    stage.compact();
    const std::string text = formatStage(stage);
    if (checkStorable(stage, text)) std::abort();
    Stage again;
    parseStage(text, again);
    if (again.title != stage.title || again.pointCount() != stage.pointCount() ||
        again.segmentCount() != stage.segmentCount() || again.timeLimit != stage.timeLimit)
        std::abort();
    for (int j = 0; j < MaxSegments; ++j)
        if (again.segments[j].low != stage.segments[j].low ||
            again.segments[j].high != stage.segments[j].high ||
            again.segments[j].kind != stage.segments[j].kind)
            std::abort();
    // The written numbers are already as short as the file keeps them: a second round is exact.
    again.compact();
    if (formatStage(again) != text) std::abort();
    return 0;
}
