// Any bytes as a replay file: reading never crashes, and playing the record back stays within
// its events, one bounded step per frame.
#include "core/game/InputRecord.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputRecord record;
    record.parse(std::string(reinterpret_cast<const char*>(data), size));
    if (record.total() < 0) std::abort();
    if (record.events().size() > 2 * std::size_t(record.total()) + 1) std::abort();
    for (int frame = 0; frame < 10000 && record.hasFramesLeft(); ++frame)
        record.readNext();
    return 0;
}
