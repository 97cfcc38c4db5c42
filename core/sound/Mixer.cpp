#include "core/sound/Mixer.h"

#include <algorithm>
#include <vector>

void Voice::Submit(const VoiceBuffer& buffer) {
    if (buffer.length == 0 || queue_.size() >= MaxQueued) return;
    queue_.push_back(buffer);
}

void Voice::Flush() {
    queue_.clear();
    position_ = 0;
}

void Voice::MixInto(std::int32_t* acc, int frames) {
    if (!running_) return;
    int i = 0;
    while (i < frames && !queue_.empty()) {
        const VoiceBuffer& b = queue_.front();
        const int n = int(std::min<std::uint32_t>(b.length - position_, std::uint32_t(frames - i)));
        for (int k = 0; k < n; ++k)
            acc[i + k] += (int(b.data[position_ + std::uint32_t(k)]) - 128) * volume_;
        i += n;
        position_ += std::uint32_t(n);
        if (position_ >= b.length) {
            position_ = 0;
            if (!b.loop) queue_.pop_front();
        }
    }
}

void Mixer::Play(int voice, const std::uint8_t* data, std::uint32_t length, bool loop) {
    if (voice < 0 || voice >= VoiceCount) return;
    voices_[voice].Submit({data, length, loop});
    voices_[voice].Start();
}

void Mixer::Stop(int voice) {
    if (voice < 0 || voice >= VoiceCount) return;
    voices_[voice].Stop();
    voices_[voice].Flush();
}

void Mixer::SetVolume(int voice, int volume) {
    if (voice < 0 || voice >= VoiceCount) return;
    voices_[voice].SetVolume(std::clamp(volume, 0, Voice::MaxVolume));
}

void Mixer::Mix(std::int16_t* out, int frames) {
    if (paused_) {
        std::fill(out, out + frames, std::int16_t(0));
        return;
    }
    thread_local std::vector<std::int32_t> acc;
    acc.assign(std::size_t(frames), 0);
    for (Voice& v : voices_)
        v.MixInto(acc.data(), frames);
    for (int i = 0; i < frames; ++i)
        out[i] = std::int16_t(std::clamp(acc[std::size_t(i)] * Gain / Voice::MaxVolume, -32768, 32767));
}
