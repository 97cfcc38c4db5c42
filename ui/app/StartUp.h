#pragma once
#include "core/lang/Translate.h"

#include <optional>
#include <string>
#include <vector>

struct DataFolderSearch {
    std::vector<std::string> searched; // absolute, in the order they were looked in
    bool found = false;                // the current folder is now the last of them
};

// When the game's data is not in the current folder, moves to the executable's folder, or for
// an installed copy to its data folder (../share/twirlstick beside it).
DataFolderSearch EnterDataFolder();

// The font the game draws with: its own copy in the data folder when there is one (the build
// tree), else the system's IPA P Gothic (an installed copy); "" when neither exists.
std::string GameFontPath();
inline constexpr const char* SystemFontFamily = "IPAPGothic";

// The data files the game cannot run without, in the order they are tested: the font (its
// own copy or the system's), then all ten stages. The first one missing, if any.
std::optional<std::string> FirstMissingDataFile();

// The line for stderr when `file` is missing: it names the file and the folders it was looked for in.
std::string MissingDataLine(const std::string& file, const DataFolderSearch& search);

inline constexpr const char16_t* MissingFileText =
    N_(u"ファイルが確認できません\nファイルを全て解凍してから実行して下さい");

// Where the game's catalogs may be, from the data folder: its own locale/ (the build tree), then
// the installed share/locale beside the installed data.
std::vector<std::string> LocaleFolders();
