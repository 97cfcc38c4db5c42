#pragma once
// What a stage's title may hold. A stage file's title is what follows its keyword on its line,
// without outer blanks, up to MaxStoredTitleUnits: the reader takes it as stored, and the writer
// writes every title the reader can give, so a file saved again reads back byte for byte. A
// title typed in the editor is plainer and shorter.
#include <cstddef>
#include <string>
#include <string_view>

// The title box takes this many UTF-16 units.
inline constexpr std::size_t MaxTitleUnits = 255;
// A stage file's title is read whole up to this many UTF-16 units, and cut there.
inline constexpr std::size_t MaxStoredTitleUnits = 1023;

// The title as the editor takes a typed one: control characters (line breaks, tabs, C1 codes,
// line and paragraph separators) and unpaired surrogates dropped, cut to MaxTitleUnits without
// splitting a surrogate pair, and blanks trimmed from both ends.
std::u16string storableTitle(std::u16string_view text);

// The title as the reader takes it from the rest of its line: whole, control characters and
// all, cut to MaxStoredTitleUnits without splitting a pair, without outer blanks and tabs.
std::u16string readTitle(std::u16string_view text);

// Whether a stage file can hold the title so that it reads back the same: no line feed (it
// would end the line), no unpaired surrogate (UTF-8 cannot hold one), no outer blanks or tabs,
// at most MaxStoredTitleUnits.
bool fileKeepsTitle(std::u16string_view title);
