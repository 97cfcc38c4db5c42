#pragma once
// Every file name and folder the game uses. Shipped data is read relative to the current
// folder; everything the game writes lives in the private working folder.
#include <string>
#include <vector>

// The working folder, always ending in '/': $XDG_DATA_HOME (when absolute) or
// $HOME/.local/share, plus "TWIRLSTICK_FILES/". Computed afresh on each call.
std::string workingFolderPath();

// Creates the working folder with its parents (mode 0700 for the folder itself) if missing.
// Returns whether the folder exists afterwards.
bool ensureWorkingFolder();

std::string stageFileName(int stageNumber);  // "stage" + (n + 1), relative to the data folder
std::string replayFileName(int stageNumber); // working folder + "rep" + (n + 1)
std::string testStagePath();                 // working folder + "tempstage"

// File names (no folder) of the edited stages in the working folder, in natural order (stage2
// before stage10).
std::vector<std::string> listEditedStages();

// "stage" + the smallest k >= 1 whose name is not taken in the working folder.
std::string nextNewStageName();

// Deletes every file in the working folder; sub-folders and the folder itself stay.
void deleteWorkingFiles();

bool pathExists(const std::string& path);

// Whether `path` names a file directly inside the working folder: one of the game's own files.
bool isInWorkingFolder(const std::string& path);
