#include "core/sound/WaveFile.h"

#include "core/base/FileAccess.h"

#include <algorithm>

namespace {
constexpr std::size_t HeaderBytes = 44;
// Twelve minutes of the game's 8-bit mono sound: anything longer is not one of its sounds, and
// a damaged header must not make the game allocate what the disk happens to hold.
constexpr std::uint64_t MaxSampleBytes = 16u * 1024 * 1024;
} // namespace

std::vector<std::uint8_t> readWaveSamples(const std::string& path, std::string& problem) {
    problem.clear();
    std::error_code error;
    // Sound files may be links (an installed copy shares them); FIFOs and devices are refused.
    const auto bytes = readRegularFile(path, {HeaderBytes + MaxSampleBytes, true, true}, error);
    if (!bytes) {
        problem = error.message();
        return {};
    }
    return parseWaveSamples(*bytes, problem);
}

std::vector<std::uint8_t> parseWaveSamples(std::string_view bytes, std::string& problem) {
    problem.clear();
    if (bytes.size() < HeaderBytes) {
        problem = "shorter than a WAVE header";
        return {};
    }
    std::uint32_t stated = 0;
    for (int i = 3; i >= 0; --i)
        stated = (stated << 8) | static_cast<unsigned char>(bytes[std::size_t(40 + i)]);
    if (stated == 0) {
        problem = "states no samples";
        return {};
    }
    std::uint64_t length = stated;
    if (length > MaxSampleBytes) {
        problem = "longer than any sound of the game; cut to " + std::to_string(MaxSampleBytes) + " bytes";
        length = MaxSampleBytes;
    }
    const std::uint64_t present = std::min<std::uint64_t>(bytes.size() - HeaderBytes, MaxSampleBytes);
    if (length > present) {
        problem = "states " + std::to_string(stated) + " bytes but holds " + std::to_string(present);
        length = present;
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data()) + HeaderBytes;
    return std::vector<std::uint8_t>(data, data + length);
}
