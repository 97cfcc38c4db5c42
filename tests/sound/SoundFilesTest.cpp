#include "core/sound/WaveFile.h"

#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sys/stat.h>

namespace {
std::string header(std::uint32_t length) {
    std::string h(44, '\0');
    std::memcpy(&h[0], "RIFF", 4);
    std::memcpy(&h[8], "WAVEfmt ", 8);
    std::memcpy(&h[36], "data", 4);
    for (int i = 0; i < 4; ++i)
        h[std::size_t(40 + i)] = char((length >> (8 * i)) & 0xFF);
    return h;
}

std::string gameFile(const std::string& name) {
    return std::string(GAME_DIR) + "/sound/" + name + ".wav";
}

std::uint32_t le32(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + std::size_t(i)]);
    return v;
}
} // namespace

TEST(WaveFile, DamagedFilesGiveSilenceOrWhatIsThere) {
    TempFolder dir;
    std::string problem;
    EXPECT_TRUE(readWaveSamples(dir.file("missing.wav"), problem).empty());
    EXPECT_FALSE(problem.empty());

    dir.write("short.wav", "RIFF1234");
    EXPECT_TRUE(readWaveSamples(dir.file("short.wav"), problem).empty());

    dir.write("zero.wav", header(0) + "abc");
    EXPECT_TRUE(readWaveSamples(dir.file("zero.wav"), problem).empty());

    dir.write("huge.wav", header(0xFFFFFFF0u) + "abcd"); // never a 4 GiB allocation
    const auto cut = readWaveSamples(dir.file("huge.wav"), problem);
    EXPECT_EQ(cut.size(), 4u);
    EXPECT_FALSE(problem.empty());

    dir.write("vast.wav", header(0x7FFFFFFFu));
    std::filesystem::resize_file(dir.file("vast.wav"), 40u * 1024 * 1024); // sparse: no disk used
    EXPECT_EQ(readWaveSamples(dir.file("vast.wav"), problem).size(), 16u * 1024 * 1024);

    ASSERT_EQ(mkfifo(dir.file("fifo.wav").c_str(), 0600), 0); // once hung the start-up for ever
    EXPECT_TRUE(readWaveSamples(dir.file("fifo.wav"), problem).empty());
    EXPECT_EQ(problem, "not a regular file");

    dir.write("good.wav", header(3) + "xyz-trailing");
    const auto good = readWaveSamples(dir.file("good.wav"), problem);
    EXPECT_EQ(std::string(good.begin(), good.end()), "xyz");
    EXPECT_TRUE(problem.empty());
}

class GeneratedSound : public ::testing::TestWithParam<const char*> {};

TEST_P(GeneratedSound, IsACanonicalAudibleUnclippedWave) {
    TempFolder dir;
    std::ifstream in(gameFile(GetParam()), std::ios::binary);
    ASSERT_TRUE(in) << gameFile(GetParam());
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GE(bytes.size(), 44u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(le32(bytes, 24), 22100u);            // rate field
    EXPECT_EQ(le32(bytes, 34) & 0xFFFF, 8u);       // bits per sample
    EXPECT_EQ(le32(bytes, 22) & 0xFFFF, 1u);       // mono
    EXPECT_EQ(le32(bytes, 40), bytes.size() - 44); // data length
    int loudest = 0, atLimit = 0;
    double energy = 0;
    for (std::size_t i = 44; i < bytes.size(); ++i) {
        const int s = static_cast<unsigned char>(bytes[i]) - 128;
        loudest = std::max(loudest, std::abs(s));
        atLimit += std::abs(s) >= 127;
        energy += s * s;
    }
    const double rms = std::sqrt(energy / double(bytes.size() - 44));
    EXPECT_GT(loudest, 40) << "audible";
    EXPECT_GT(rms, 3.0) << "not a click in silence";
    EXPECT_LT(atLimit, 10) << "never at the clipping limit for long";
}

INSTANTIATE_TEST_SUITE_P(All, GeneratedSound,
                         ::testing::Values("bgm", "bgm_fast", "countdown", "start", "click", "enter", "clear",
                                           "hurry", "miss", "newrecord", "gameover"));

TEST(GeneratedMusic, LoopsLastTwentyToFortySecondsAndJoinWithoutAJump) {
    for (const char* name : {"bgm", "bgm_fast"}) {
        std::string problem;
        const auto s = readWaveSamples(gameFile(name), problem);
        const double seconds = double(s.size()) / 22100.0;
        EXPECT_GE(seconds, 20.0) << name;
        EXPECT_LE(seconds, 40.0) << name;
        // Across the joint the step is no larger than the music's ordinary steps.
        int largestStep = 0;
        for (std::size_t i = 1; i < s.size(); ++i)
            largestStep = std::max(largestStep, std::abs(int(s[i]) - int(s[i - 1])));
        EXPECT_LE(std::abs(int(s.front()) - int(s.back())), largestStep / 2) << name;
    }
}
