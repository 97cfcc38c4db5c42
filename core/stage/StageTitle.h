#pragma once
// What a stage's title may hold. The reader, the writer and the editor's title box share this
// rule, so a title read from any file can be saved again and reads back the same.
#include <cstddef>
#include <string>
#include <string_view>

// The title box takes this many UTF-16 units; a longer title in a file is cut to it on reading.
inline constexpr std::size_t MaxTitleUnits = 255;

// The title as a stage file keeps it: control characters (line breaks, tabs, C1 codes, line and
// paragraph separators) and unpaired surrogates dropped, cut to MaxTitleUnits without splitting
// a surrogate pair, and blanks trimmed from both ends (the file reads the title back without
// its outer blanks).
std::u16string storableTitle(std::u16string_view text);
