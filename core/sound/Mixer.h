#pragma once
// The game's own mixer: one voice per sound, each playing its queue of buffers in order.
// A plain object with no device, so its behaviour is testable; the audio thread calls Mix.
#include <array>
#include <cstdint>
#include <deque>

struct VoiceBuffer {
    const std::uint8_t* data = nullptr; // 8-bit unsigned PCM; must outlive the voice's use of it
    std::uint32_t length = 0;
    bool loop = false; // loops forever: buffers queued behind it are never reached
};

class Voice {
public:
    // Volume steps: 0 is silence, MaxVolume the sample as it is.
    static constexpr int MaxVolume = 10;

    // A stuck queue (a player clicking faster than a sound lasts) stops growing here.
    static constexpr std::size_t MaxQueued = 8;

    void Submit(const VoiceBuffer& buffer);
    void Start() { running_ = true; }
    void Stop() { running_ = false; }
    void Flush();
    bool Sounding() const { return running_ && !queue_.empty(); }
    std::size_t Queued() const { return queue_.size(); }
    // Adds this voice's next `frames` samples (centred on 0) times its volume into `acc`. A
    // silenced voice still moves on, so turning it up again lands where the sound now is.
    void MixInto(std::int32_t* acc, int frames);
    void SetVolume(int volume) { volume_ = volume; }
    int Volume() const { return volume_; }

private:
    std::deque<VoiceBuffer> queue_;
    std::uint32_t position_ = 0;
    bool running_ = false;
    int volume_ = MaxVolume;
};

class Mixer {
public:
    static constexpr int VoiceCount = 11;
    // Output per unit of 8-bit sample: one voice at full scale uses 3/8 of the 16-bit range,
    // leaving headroom for the music and two effects before anything clamps.
    static constexpr int Gain = 96;

    void Play(int voice, const std::uint8_t* data, std::uint32_t length, bool loop);
    void Stop(int voice);
    // `volume` from 0 to Voice::MaxVolume; values outside are held to that range.
    void SetVolume(int voice, int volume);
    // While paused every voice holds its place and the output is silence.
    void SetPaused(bool paused) { paused_ = paused; }
    // Fills `frames` mono 16-bit samples; the sum is clamped, never wrapped.
    void Mix(std::int16_t* out, int frames);
    const Voice& VoiceAt(int voice) const { return voices_[voice]; }

private:
    std::array<Voice, VoiceCount> voices_;
    bool paused_ = false;
};
