// Any bytes as a sound file: reading never crashes or allocates beyond the cap, and mixing what
// it gives, played, looped, stopped and queued in any order, stays inside the buffers. The header
// bytes the reader ignores (0 to 39) serve as the script of mixer operations.
#include "core/sound/Mixer.h"
#include "core/sound/WaveFile.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string problem;
    const std::vector<std::uint8_t> samples = parseWaveSamples(bytes, problem);
    if (size < 44 ? !samples.empty() : samples.size() > size - 44) std::abort();

    Mixer mixer;
    std::array<std::int16_t, 2048> out{};
    const std::size_t scriptLength = size < 40 ? size : 40;
    for (std::size_t i = 0; i < scriptLength; ++i) {
        const int voice = data[i] % Mixer::VoiceCount;
        const std::uint32_t length = std::uint32_t(samples.size() >> (data[i] % 4));
        switch ((data[i] / Mixer::VoiceCount) % 4) {
        case 0:
            mixer.Play(voice, samples.data(), length, false);
            break;
        case 1:
            mixer.Play(voice, samples.data(), length, true);
            break;
        case 2:
            mixer.Stop(voice);
            break;
        default:
            mixer.Mix(out.data(), 1 + data[i] * 7 % int(out.size()));
            break;
        }
        if (mixer.VoiceAt(voice).Queued() > Voice::MaxQueued) std::abort();
    }
    mixer.Mix(out.data(), int(out.size()));
    return 0;
}
