#pragma once
// The little state that outlives a scene. The scene master owns the one session; the scene table
// hands it to the scenes that read or change it, and they set it before asking for the next scene.
#include <string>

inline constexpr int StageCount = 10;
inline constexpr int StartingBars = 5;

struct GameSession {
    int stageNumber = 0;         // 0-based stage being played
    int barsLeft = StartingBars; // spare bars
    bool editMode = false;       // game-main scenes play the test stage and return to the editor
    bool newStage = false;       // the editor starts with an empty stage
    std::string editFileName;    // the edited stage's file name inside the working folder
};
