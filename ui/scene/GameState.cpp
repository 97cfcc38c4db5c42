#include "scene/GameState.h"

int StageNumber = 0;
int BarsLeft = StartingBars;
bool EditMode = false;
bool NewStage = false;
std::string EditFileName;
std::string EditSourcePath;
std::string OwnStageFile;
