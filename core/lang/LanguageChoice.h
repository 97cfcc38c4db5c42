#pragma once
// Which language the player wants, read the way gettext reads it, but from the variables
// themselves: a container or minimal system often has no locale but C.UTF-8 installed, and a
// player who asked for English there should still get it.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The game's own language: its texts are written in it, so it needs no catalog.
inline constexpr std::string_view OwnLanguage = "ja";
// What a player gets whose language has no catalog.
inline constexpr std::string_view FallbackLanguage = "en";

struct LocaleVariables {
    std::string language, lcAll, lcMessages, lang; // LANGUAGE, LC_ALL, LC_MESSAGES, LANG
};

// The four variables of this process's environment ("" for one that is not set).
LocaleVariables readLocaleVariables();

// The language to show. The locale is the first of LC_ALL, LC_MESSAGES, LANG that is set; when
// it is C or POSIX (or there is none) the game's own language shows and LANGUAGE is ignored, as
// gettext does. Otherwise LANGUAGE's entries, then the locale itself, are tried in turn, each as
// given and without its territory ("en_GB.UTF-8@euro", "en"): the first that is the game's own
// language or that `hasCatalog` accepts wins. When none does, FallbackLanguage.
// A non-empty `forced` (the command line's choice) replaces the environment.
std::string chooseLanguage(const LocaleVariables& variables, std::string_view forced,
                           const std::function<bool(std::string_view)>& hasCatalog);

// The game's own language, then each one the build compiled a catalog for, in the build's order:
// what the command line and the options screen offer.
std::vector<std::string> gameLanguages();

// Whether `name` can be a language name in a catalog's path: letters, digits, '_', '-', '.', '@',
// and no more than 32 of them (so it can name no other folder).
bool isLanguageName(std::string_view name);
