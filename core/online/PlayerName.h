#pragma once
// Player names of the online records: what a name may hold and when two names are the same.
#include <string>
#include <string_view>

inline constexpr int MaxPlayerNameChars = 24;

// Whether `utf8` is a name a player may claim: 1 to 24 characters (code points), each a letter of
// any script, a digit, a space, '-' or '_'; no space first or last and never two in a row (names
// that look alike must not differ only in blanks). Malformed UTF-8, control characters, marks
// outside the scripts that need them and every other symbol are refused.
bool isValidPlayerName(std::string_view utf8);

// The form two names are compared in ("unique ignoring case"): Latin, Greek, Cyrillic and
// Armenian capitals folded to their small letters, fullwidth Latin to ASCII; the rest as it is.
// Only for a name that isValidPlayerName accepts.
std::string playerNameKey(std::string_view utf8);
