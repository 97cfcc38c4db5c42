#pragma once
// Every file name and folder the game uses. Shipped data is read relative to the current
// folder; everything the game writes lives in the private working folder.
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

struct Stage;

// The working folder, always ending in '/': $XDG_DATA_HOME (when absolute) or
// $HOME/.local/share, plus "TWIRLSTICK_FILES/". Computed afresh on each call.
std::string workingFolderPath();

// Creates the working folder with its parents if missing and makes it private (0700), also when
// it was already there with another mode; a link standing for it (a folder shared on purpose)
// keeps the mode its owner gave. False, with the reason in `error`, when it cannot be made or
// belongs to another user: the game then writes nothing there.
bool ensureWorkingFolder(std::error_code* error = nullptr);

// Removes the temporary files of saves (isTemporaryFileName) that were left in the working
// folder by a crash or a kill: only regular files, and only those older than a minute, which no
// running save still writes.
void sweepTemporaryFiles();

std::string stageFileName(int stageNumber); // "stage" + (n + 1), relative to the data folder
std::string
solutionFileName(int stageNumber);           // the shipped stage's proven route, relative to the data folder
std::string replayFileName(int stageNumber); // working folder + "rep" + (n + 1)
std::string testStagePath();                 // working folder + "tempstage"
std::string testGhostPath();                 // working folder + "tempghost": the editor's checked route
// Working folder + "rep-" + 16 hex digits that name the stage's content: where the best run of a
// player's own stage is kept. An edited stage thus starts without a best (an old run would not
// even verify on it), and a copy under another name keeps the best of the same stage.
std::string ownReplayFileName(const Stage& stage);

// Working folder + "unsent-" + a stage's content id (32 hex digits): a best run waiting to reach
// the online records, one a stage (a better run replaces the one waiting).
std::string unsentRunPath(std::string_view stageId);
// Working folder + "online-" + a published stage's content id: the stage as downloaded, played
// as one of the player's own.
std::string onlineStagePath(std::string_view stageId);
// Working folder + "online-player": the player's name and secret token on the records server.
std::string onlinePlayerPath();

// File names (no folder) of the edited stages in the working folder, in natural order (stage2
// before stage10).
std::vector<std::string> listEditedStages();
// The names of the regular files in the working folder that `wanted` accepts, in no order.
std::vector<std::string> workingFolderFiles(bool (*wanted)(std::string_view name));

// "stage" + the smallest k >= 1 whose name is not taken in the working folder.
std::string nextNewStageName();

// Whether a name in the working folder is one the game writes or lists as its own: an edited
// stage (isEditedStageName: exactly the names listEditedStages takes), the test stage and its ghost, a replay
// ("rep" + digits, or an own stage's "rep-" + 16 hex digits), an unsent run, a best run or ghost kept aside
// (".old-" + 16 hex digits after one of those), or a temporary file of a save.
bool isGameFileName(std::string_view name);

// Deletes the game's own files (isGameFileName) from the working folder and nothing else; a
// save's temporary file goes only once a minute old, as another running copy may still write it.
// A working folder that belongs to another user (a link into someone else's folder) is left alone.
void deleteWorkingFiles();

bool pathExists(const std::string& path);

// Whether `path` names a file directly inside the working folder: one of the game's own files.
bool isInWorkingFolder(const std::string& path);
