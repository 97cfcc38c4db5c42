#pragma once
// A data file the game cannot run without is missing: say so before any game window exists.
#include "ui/app/StartUp.h"

#include <string>

// One line on stderr naming the file and the folders searched, then the start-up box, caption
// the file's name, drawn with the game's own font whenever that font is there: SDL's system
// box garbles Japanese text on many X servers, so it is only the fallback when the font itself
// is what is missing. Without a display the line is all there is.
void ReportMissingDataFile(const std::string& file, const DataFolderSearch& search);
