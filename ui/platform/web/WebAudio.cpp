// Sound through a Web Audio worklet, fed from the page's one thread between frames, so the lock
// the desktop's audio thread needs has nothing to guard here.
#include "ui/platform/Platform.h"
#include "ui/platform/web/WebPage.h"

#include <cstdio>

namespace platform {

// The page opens Web Audio once its first frame is on the screen: making the context costs tens
// of milliseconds, and browsers hold its sound back until the player's first click anyway.
bool openAudio(int sampleRate, AudioCallback callback, void* user) {
    if (twirlstick_open_audio_later(sampleRate, callback, user)) return true;
    std::fprintf(stderr, "twirlstick: the browser gives this page no Web Audio worklet (it needs https); "
                         "the game runs silent\n");
    return false;
}

void lockAudio() {}
void unlockAudio() {}

void closeAudio() {
    twirlstick_cancel_audio_later();
    twirlstick_close_audio();
}

} // namespace platform
