#include "tests/TempFolder.h"
#include "tests/gl/GlTestSupport.h"

#include "ui/sound/Sound.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

// A hang here is caught by the test's time limit.
TEST(SoundDevice, StartsSilentlyOnTheDummyDriverAndNeverBlocks) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(InitAudio());
    LoadAllSounds(); // from the game folder, where the tests run
    playMusic(SoundId::bgm);
    for (int i = 0; i < 20; ++i)
        playEffect(SoundId::click);
    EXPECT_GE(queuedPlays(SoundId::click), 2u); // the queue stops growing at its bound
    EXPECT_LE(queuedPlays(SoundId::click), Voice::MaxQueued);
    // The device's own thread mixes the queued clicks away: it plays, not only opened.
    for (int waited = 0; waited < 300 && queuedPlays(SoundId::click) > 0; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(queuedPlays(SoundId::click), 0u);
    playMusic(SoundId::bgm_fast);
    EXPECT_EQ(currentMusic(), SoundId::bgm_fast);
    stopMusic();
    FreeAllSounds();
    ShutdownAudio();
    PlaySound(SoundId::miss, false); // after shutdown: a silent no-op
    EXPECT_EQ(currentMusic(), std::nullopt);
    unsetenv("SDL_AUDIODRIVER");
}

// The browser's page brings its sounds after the first frame: the music asked for before its
// file came starts when it comes, once.
TEST(SoundDevice, AMusicFileArrivingLateStartsTheMusicOnce) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::filesystem::path gameFolder = std::filesystem::current_path();
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "sound");
    std::filesystem::current_path(folder.path());
    ASSERT_TRUE(InitAudio());
    LoadAllSounds(); // none there yet: each plays as silence
    resetSoundCounts();
    playMusic(SoundId::bgm);
    std::filesystem::copy_file(gameFolder / "sound/bgm.wav", folder.file("sound/bgm.wav"));
    for (int i = 0; i < 2; ++i) // the second time it is loaded already
        TakeArrivedSound("sound/bgm.wav");
    EXPECT_EQ(soundCounts().playsOf(SoundId::bgm), 2);
    FreeAllSounds();
    ShutdownAudio();
    std::filesystem::current_path(gameFolder);
    unsetenv("SDL_AUDIODRIVER");
}
