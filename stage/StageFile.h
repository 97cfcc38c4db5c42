#pragma once
#include "stage/Stage.h"

#include <string>
#include <string_view>
#include <system_error>

// Clears the stage and fills it from the file; a missing or unreadable file (or anything but a
// regular file) leaves it cleared, with the reason in `error` when asked.
void loadStage(const std::string& path, Stage& stage, std::error_code* error = nullptr);

// The same from the file's text (with or without its byte-order mark).
void parseStage(std::string_view text, Stage& stage);

// Compacts the stage (its slot numbering changes) and writes it in the stage file format.
// Returns false when the file could not be written, with the reason in `error` when asked; an
// existing file is then left as it was.
bool saveStage(const std::string& path, Stage& stage, std::error_code* error = nullptr);

// The stage file's text for an already compacted stage (BOM, CR LF lines).
std::string formatStage(const Stage& stage);

// %g with the three-digit exponent the stage files have always used ("1.23457e+006").
std::string formatStageNumber(double v);
