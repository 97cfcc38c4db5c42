#pragma once
// Numbers the play scene, the stage tool and the solver must agree on, or a replay verified by
// the tool would not end where the game ends it.

inline constexpr int FramesPerSecond = 60;
inline constexpr float BarLength = 60.0f; // stage units: the play, how-to-play and editor bars
