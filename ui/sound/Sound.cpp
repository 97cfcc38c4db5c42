#include "ui/sound/Sound.h"

#include "core/sound/Mixer.h"
#include "core/sound/WaveFile.h"
#include "core/stage/FileLocations.h"
#include "ui/platform/Platform.h"

#include <cstdio>
#include <memory>

namespace {
const char* const Paths[SoundCount] = {
    "sound/bgm.wav",   "sound/bgm_fast.wav",  "sound/countdown.wav", "sound/start.wav",
    "sound/click.wav", "sound/enter.wav",     "sound/clear.wav",     "sound/hurry.wav",
    "sound/miss.wav",  "sound/newrecord.wav", "sound/gameover.wav",
};

SoundTable table;
std::unique_ptr<Mixer> mixer; // exists only while a device plays it
std::optional<SoundId> music;
SoundCounts counts;
int musicVolume = Voice::MaxVolume;
int effectVolume = Voice::MaxVolume;

std::size_t slot(SoundId id) {
    return std::size_t(id);
}

void mixCallback(void* user, std::int16_t* out, int frames) {
    static_cast<Mixer*>(user)->Mix(out, frames);
}

// The game thread holds the device lock only while it changes a queue.
template <typename F> void withMixer(F change) {
    if (!mixer) return;
    platform::lockAudio();
    change(*mixer);
    platform::unlockAudio();
}

bool isMusic(int id) {
    return id == int(SoundId::bgm) || id == int(SoundId::bgm_fast);
}

void applyVolumes(Mixer& m) {
    for (int id = 0; id < SoundCount; ++id)
        m.SetVolume(id, isMusic(id) ? musicVolume : effectVolume);
}
} // namespace

bool InitAudio() {
    auto m = std::make_unique<Mixer>();
    applyVolumes(*m);
    if (!platform::openAudio(SoundSampleRate, mixCallback, m.get())) return false;
    mixer = std::move(m);
    return true;
}

namespace {
void loadSound(int id) {
    std::string problem;
    table[id].samples = readWaveSamples(Paths[id], problem);
    if (!problem.empty()) std::fprintf(stderr, "twirlstick: sound %s: %s\n", Paths[id], problem.c_str());
}
} // namespace

void LoadAllSounds() {
    for (int id = 0; id < SoundCount; ++id) {
        // The browser's page brings its sounds after the first frame: until one is there, it
        // plays as silence.
        if (!pathExists(Paths[id]) && platform::fetchLater(Paths[id])) continue;
        loadSound(id);
    }
}

void TakeArrivedSound(const std::string& path) {
    for (int id = 0; id < SoundCount; ++id) {
        if (path != Paths[id] || !table[id].samples.empty()) continue;
        // A voice may hold the old, empty samples: stop it before they are replaced.
        withMixer([id](Mixer& m) { m.Stop(id); });
        loadSound(id);
        // The music asked for while its file was on its way starts now.
        if (music == SoundId(id)) PlaySound(SoundId(id), true);
    }
}

void SetSoundVolumes(int music, int effects) {
    musicVolume = music;
    effectVolume = effects;
    counts.musicVolume = music;
    counts.effectVolume = effects;
    withMixer(applyVolumes);
}

void PlaySound(SoundId id, bool looping) {
    if (slot(id) >= std::size_t(SoundCount)) return;
    ++counts.plays[slot(id)];
    const Sound& s = table[slot(id)];
    withMixer([&](Mixer& m) { m.Play(int(id), s.samples.data(), std::uint32_t(s.samples.size()), looping); });
}

void StopSound(SoundId id) {
    if (slot(id) >= std::size_t(SoundCount)) return;
    ++counts.stops[slot(id)];
    withMixer([&](Mixer& m) { m.Stop(int(id)); });
}

void FreeAllSounds() {
    // The voices may still point at the samples: silence them before the memory goes.
    withMixer([](Mixer& m) {
        for (int id = 0; id < SoundCount; ++id)
            m.Stop(id);
    });
    for (Sound& s : table)
        s.samples = {};
    music.reset();
}

void ShutdownAudio() {
    platform::closeAudio();
    mixer.reset();
}

void PauseAllSounds(bool paused, PauseReason reason) {
    static bool held[2] = {};
    held[int(reason)] = paused;
    const bool any = held[0] || held[1];
    counts.paused = any;
    withMixer([any](Mixer& m) { m.SetPaused(any); });
}

void playMusic(SoundId id) {
    if (music) stopMusic();
    PlaySound(id, true);
    music = id;
}

void stopMusic() {
    if (!music) return;
    StopSound(*music);
    music.reset();
}

void playEffect(SoundId id) {
    PlaySound(id, false);
}

std::optional<SoundId> currentMusic() {
    return music;
}

const SoundCounts& soundCounts() {
    return counts;
}
void resetSoundCounts() {
    counts = {};
    counts.musicVolume = musicVolume;
    counts.effectVolume = effectVolume;
}

std::size_t queuedPlays(SoundId id) {
    std::size_t queued = 0;
    withMixer([&](Mixer& m) { queued = m.VoiceAt(int(id)).Queued(); });
    return queued;
}
