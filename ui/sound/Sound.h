#pragma once
// The eleven sounds: loaded once at start-up, played through one voice each. Every call
// returns at once and is safe without an audio device (the game is then silent).
#include "core/sound/Mixer.h"
#include "core/sound/SoundId.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Samples are played at this fixed rate whatever the file's own rate field says.
inline constexpr int SoundSampleRate = 22100;

struct Sound {
    std::vector<std::uint8_t> samples; // 8-bit unsigned mono PCM
};
using SoundTable = std::array<Sound, SoundCount>;

bool InitAudio(); // false: no device, the game runs silent
void LoadAllSounds();
// A sound file that was not there at start arrived (platform::fetchLater): it is loaded, and the
// music that should be playing starts. Other paths, and sounds already loaded, are left alone.
void TakeArrivedSound(const std::string& path);
void PlaySound(SoundId id, bool looping);
void StopSound(SoundId id);
void FreeAllSounds();
// The music's and the effects' volume steps, 0 (silent) to Voice::MaxVolume (as recorded); kept
// for a device opened later.
void SetSoundVolumes(int music, int effects);
void ShutdownAudio();
// While the window is inactive, or while play is paused: every sound stops where it is and later
// resumes from there. Each reason holds the sounds on its own; they resume when neither does.
enum class PauseReason { Focus, Play };
void PauseAllSounds(bool paused, PauseReason reason = PauseReason::Focus);

// At most one music sounds at a time.
void playMusic(SoundId id);
void stopMusic();
void playEffect(SoundId id);
std::optional<SoundId> currentMusic();

// How often each sound was asked for since the last reset, and whether the sounds stand paused;
// lets tests hear without speakers.
struct SoundCounts {
    std::array<int, SoundCount> plays{};
    std::array<int, SoundCount> stops{};
    bool paused = false;
    int musicVolume = Voice::MaxVolume;
    int effectVolume = Voice::MaxVolume;

    int playsOf(SoundId id) const { return plays[std::size_t(id)]; }
};
const SoundCounts& soundCounts();
// Plays of a sound still waiting in its voice on the device (0 without one): the device's own
// mixing takes them away, which lets a test tell a device that plays from one that only opened.
std::size_t queuedPlays(SoundId id);
void resetSoundCounts();
