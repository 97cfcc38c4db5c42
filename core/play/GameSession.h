#pragma once
// The little state that outlives a scene: the run (stage, bars, the guide) and what the editor
// opens. The scene master owns the one session and hands it to the scenes that read or change it;
// they set it before asking for the next scene.
#include <string>
#include <utility>

inline constexpr int StageCount = 10;
inline constexpr int StartingBars = 5;

struct GameSession {
    int stageNumber = 0;         // 0-based stage being played
    int barsLeft = StartingBars; // spare bars
    bool editMode = false;       // game-main scenes play the test stage and return to the editor
    bool newStage = false;       // the editor starts with an empty stage
    std::string editFileName;    // the edited stage's file name inside the working folder
    std::string editSourcePath;  // a shipped stage opened as a copy: read from here, saved as editFileName
    std::string ownStageFile;    // the player's own stage being played; empty: the ten stages
    int barsLostHere = 0;        // bars lost on this stage in this run
    bool showWay = false;        // the player asked to see the stage's proven route
    bool raceWorld = false;      // the world best's ghost runs beside every attempt (online records)

    // Bars lost before the guide is offered: by then the player is stuck, not still learning.
    static constexpr int BarsLostBeforeGuide = 3;
    // A new stage of the run (or a new run): its losses start from none, without the guide.
    void startStage() {
        barsLostHere = 0;
        showWay = false;
    }

    // The player's stage `name` (in the working folder), from its start with a full set of bars.
    void startOwnStage(std::string name) {
        stageNumber = 0;
        barsLeft = StartingBars;
        editMode = false;
        ownStageFile = std::move(name);
        startStage();
    }
};
