#include "core/sound/Mixer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// A sound whose every sample is `value` (8-bit unsigned, 128 is silence).
std::vector<std::uint8_t> tone(std::size_t length, std::uint8_t value) {
    return std::vector<std::uint8_t>(length, value);
}

std::vector<std::int16_t> mix(Mixer& m, int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames));
    m.Mix(out.data(), frames);
    return out;
}

int soundingFrames(const std::vector<std::int16_t>& out) {
    int n = 0;
    for (std::int16_t s : out)
        n += s != 0;
    return n;
}
} // namespace

TEST(Mixer, APlayWhileSoundingQueuesBehindIt) {
    Mixer m;
    const auto click = tone(100, 138);
    m.Play(4, click.data(), 100, false);
    mix(m, 30);
    m.Play(4, click.data(), 100, false); // the second click is heard whole, after the first
    const auto out = mix(m, 400);
    EXPECT_EQ(soundingFrames(out), 170);
    EXPECT_EQ(out[0], 10 * Mixer::Gain); // never doubled over itself
    EXPECT_FALSE(m.VoiceAt(4).Sounding());
}

TEST(Mixer, StopThenPlayStartsFromTheBeginning) {
    Mixer m;
    std::vector<std::uint8_t> ramp(200);
    for (int i = 0; i < 200; ++i)
        ramp[std::size_t(i)] = std::uint8_t(i);
    m.Play(0, ramp.data(), 200, false);
    mix(m, 50);
    m.Stop(0);
    EXPECT_EQ(soundingFrames(mix(m, 10)), 0);
    m.Play(0, ramp.data(), 200, false);
    EXPECT_EQ(mix(m, 1)[0], (0 - 128) * Mixer::Gain);
}

TEST(Mixer, LoopingMusicPlaysForeverAndASecondCopyIsNeverHeard) {
    Mixer m;
    std::vector<std::uint8_t> loop = {130, 126, 140};
    const auto other = tone(10, 200);
    m.Play(0, loop.data(), 3, true);
    m.Play(0, other.data(), 10, true); // queued behind a loop: unreachable
    const auto out = mix(m, 3000);
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(out[std::size_t(i)], (int(loop[std::size_t(i % 3)]) - 128) * Mixer::Gain);
}

TEST(Mixer, ElevenVoicesSoundTogetherAndTheSumClamps) {
    Mixer m;
    const auto quiet = tone(10, 129);
    for (int v = 0; v < Mixer::VoiceCount; ++v)
        m.Play(v, quiet.data(), 10, false);
    EXPECT_EQ(mix(m, 1)[0], 11 * Mixer::Gain);

    const auto loud = tone(10, 255);
    const auto low = tone(10, 0);
    Mixer up, down;
    for (int v = 0; v < Mixer::VoiceCount; ++v) {
        up.Play(v, loud.data(), 10, false);
        down.Play(v, low.data(), 10, false);
    }
    EXPECT_EQ(mix(up, 1)[0], 32767);
    EXPECT_EQ(mix(down, 1)[0], -32768);
}

TEST(Mixer, AStuckQueueStopsGrowing) {
    Mixer m;
    const auto click = tone(100, 130);
    for (int i = 0; i < 1000; ++i)
        m.Play(4, click.data(), 100, false);
    EXPECT_EQ(m.VoiceAt(4).Queued(), Voice::MaxQueued);
}

TEST(Mixer, PausedVoicesFallSilentAndResumeWhereTheyStopped) {
    Mixer m;
    std::vector<std::uint8_t> ramp(300);
    for (int i = 0; i < 300; ++i)
        ramp[std::size_t(i)] = std::uint8_t(i % 200 + 20);
    m.Play(0, ramp.data(), 300, true);
    m.Play(4, ramp.data(), 300, false);
    mix(m, 100);
    m.SetPaused(true);
    EXPECT_EQ(soundingFrames(mix(m, 5000)), 0);
    m.SetPaused(false);
    const auto out = mix(m, 1);
    EXPECT_EQ(out[0], 2 * (int(ramp[100]) - 128) * Mixer::Gain); // both voices at sample 100
}

TEST(Mixer, EachVoiceSoundsAtItsVolumeAndASilencedOneKeepsItsPlace) {
    Mixer m;
    std::vector<std::uint8_t> ramp(300);
    for (int i = 0; i < 300; ++i)
        ramp[std::size_t(i)] = std::uint8_t(i % 200 + 20);
    const auto click = tone(300, 148);
    m.Play(0, ramp.data(), 300, true);
    m.Play(4, click.data(), 300, false);
    m.SetVolume(0, 0);
    m.SetVolume(4, 5);
    EXPECT_EQ(mix(m, 100)[0], 20 * Mixer::Gain / 2); // the music silent, the click at half
    m.SetVolume(0, Voice::MaxVolume);
    m.SetVolume(4, 99); // held to the loudest step
    EXPECT_EQ(m.VoiceAt(4).Volume(), Voice::MaxVolume);
    EXPECT_EQ(mix(m, 1)[0], (int(ramp[100]) - 128 + 20) * Mixer::Gain);
    m.SetVolume(4, -3);
    EXPECT_EQ(mix(m, 1)[0], (int(ramp[101]) - 128) * Mixer::Gain);
}
