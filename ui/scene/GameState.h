#pragma once
// The little state that outlives a scene; scenes set it before asking for the next scene.
#include <string>

extern int StageNumber;            // 0-based stage being played
extern int BarsLeft;               // spare bars
extern bool EditMode;              // game-main scenes play the test stage and return to the editor
extern bool NewStage;              // the editor starts with an empty stage
extern std::string EditFileName;   // the edited stage's file name inside the working folder
extern std::string EditSourcePath; // a shipped stage opened as a copy: read from here, saved as EditFileName
extern std::string OwnStageFile;   // the player's own stage being played; empty: the ten stages

inline constexpr int StageCount = 10;
inline constexpr int StartingBars = 5;
