#include "sound/WaveFile.h"

#include <algorithm>
#include <fstream>

namespace {
// Twelve minutes of the game's 8-bit mono sound: anything longer is not one of its sounds, and
// a damaged header must not make the game allocate what the disk happens to hold.
constexpr std::uint64_t MaxSampleBytes = 16u * 1024 * 1024;
} // namespace

std::vector<std::uint8_t> readWaveSamples(const std::string& path, std::string& problem) {
    problem.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        problem = "missing or unreadable";
        return {};
    }
    in.seekg(0, std::ios::end);
    const std::streamoff fileSize = in.tellg();
    unsigned char field[4] = {};
    in.seekg(40);
    if (fileSize < 44 || !in.read(reinterpret_cast<char*>(field), 4)) {
        problem = "shorter than a WAVE header";
        return {};
    }
    const std::uint32_t stated = std::uint32_t(field[0]) | (std::uint32_t(field[1]) << 8) |
                                 (std::uint32_t(field[2]) << 16) | (std::uint32_t(field[3]) << 24);
    const auto present = std::uint64_t(fileSize - 44);
    if (stated == 0) {
        problem = "states no samples";
        return {};
    }
    std::uint64_t length = stated;
    if (length > present) {
        problem = "states " + std::to_string(stated) + " bytes but holds " + std::to_string(present);
        length = present;
    }
    if (length > MaxSampleBytes) {
        problem = "longer than any sound of the game; cut to " + std::to_string(MaxSampleBytes) + " bytes";
        length = MaxSampleBytes;
    }
    std::vector<std::uint8_t> samples(length);
    in.read(reinterpret_cast<char*>(samples.data()), std::streamsize(length));
    samples.resize(std::size_t(in.gcount()));
    return samples;
}
