// Sound through Web Audio. The mixer runs on the page's one thread, between frames, so the
// lock the desktop's audio thread needs has nothing to guard here.
#include "ui/platform/Platform.h"
#include "ui/platform/web/WebPage.h"

#include <cstdio>

namespace platform {

bool openAudio(int sampleRate, AudioCallback callback, void* user) {
    if (twirlstick_open_audio(sampleRate, callback, user)) return true;
    std::fprintf(stderr, "twirlstick: the browser has no Web Audio; the game runs silent\n");
    return false;
}

void lockAudio() {}
void unlockAudio() {}

void closeAudio() {
    twirlstick_close_audio();
}

} // namespace platform
