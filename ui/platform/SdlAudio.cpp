// The audio device: mono 16-bit at the game's rate; SDL converts to what the hardware takes.
#include "ui/platform/Platform.h"

#include <SDL.h>

#include <cstdio>

namespace platform {
namespace {
SDL_AudioDeviceID device = 0;
AudioCallback userCallback = nullptr;
void* userData = nullptr;

void trampoline(void*, Uint8* stream, int bytes) {
    userCallback(userData, reinterpret_cast<std::int16_t*>(stream), bytes / int(sizeof(std::int16_t)));
}
} // namespace

bool openAudio(int sampleRate, AudioCallback callback, void* user) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "twirlstick: no audio (%s); the game runs silent\n", SDL_GetError());
        return false;
    }
    userCallback = callback;
    userData = user;
    SDL_AudioSpec want{};
    want.freq = sampleRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 512;
    want.callback = trampoline;
    SDL_AudioSpec have{};
    device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) {
        std::fprintf(stderr, "twirlstick: no audio device (%s); the game runs silent\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void lockAudio() {
    if (device) SDL_LockAudioDevice(device);
}

void unlockAudio() {
    if (device) SDL_UnlockAudioDevice(device);
}

void closeAudio() {
    if (!device) return;
    SDL_CloseAudioDevice(device);
    device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

} // namespace platform
