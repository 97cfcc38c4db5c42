#pragma once
#include "core/stage/Stage.h"
#include "core/stage/StageTitle.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>

// The largest stage file the game reads. The writer's longest lines (a full title of three-byte
// characters, 512 points of the longest numbers, 512 lines) come to about 23 KB; hand-written
// blanks get the rest. A larger file is refused, and the writer refuses to write one.
inline constexpr std::size_t MaxStageFileBytes = 64 * 1024;

// Why a stage could not be written as it is (its file would not read back the same), or why a
// file was not taken for a stage.
enum class StageError {
    TitleTooLong = 1, // longer than MaxStoredTitleUnits
    TitleNotStorable, // a line feed, unpaired surrogates or outer blanks
    NumberNotFinite,  // a coordinate, angle or zoom that is infinite or not a number
    NotAStage,        // read, but nothing in it is a stage's: empty, binary or some other text
};
const std::error_category& stageErrorCategory();
std::error_code make_error_code(StageError e);
template <> struct std::is_error_code_enum<StageError> : std::true_type {};

// Clears the stage and fills it from the file; a missing or unreadable file (or anything but a
// regular file) leaves it cleared, with the reason in `error` when asked. A file read whole in
// which no line is a stage file's record (empty, truncated, binary or some other text) is
// NotAStage: what the file says decides, so a stage the game wrote reads back even when empty.
void loadStage(const std::string& path, Stage& stage, std::error_code* error = nullptr);

// loadStage for a file the player means to be a stage; false, with the reason, when refused.
bool loadStageFile(const std::string& path, Stage& stage, std::error_code& error);

// The same from the file's text (with or without its byte-order mark). False when no line of it
// is a stage file's record.
bool parseStage(std::string_view text, Stage& stage);

// Compacts the stage (its slot numbering changes) and writes it in the stage file format.
// Returns false when the file could not be written, or the stage holds what its file could not
// keep (StageError, FileError::TooLarge), with the reason in `error` when asked; an existing
// file is then left as it was.
bool saveStage(const std::string& path, Stage& stage, std::error_code* error = nullptr);

// The stage file's text for an already compacted stage (BOM, CR LF lines).
std::string formatStage(const Stage& stage);

// What saveStage would refuse in this stage (its formatted text given), or no error.
std::error_code checkStorable(const Stage& stage, std::string_view text);

// %g with the three-digit exponent the stage files have always used ("1.23457e+006").
std::string formatStageNumber(double v);
