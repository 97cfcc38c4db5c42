#pragma once
// The game's eleven sounds by name: play asks for them, the sound layer loads and plays them.

// Scoped: names such as `start` and `clear` would otherwise land in the global namespace.
enum class SoundId : int {
    bgm,
    bgm_fast,
    countdown,
    start,
    click,
    enter,
    clear,
    hurry,
    miss,
    newrecord,
    gameover
};
inline constexpr int SoundCount = 11;
