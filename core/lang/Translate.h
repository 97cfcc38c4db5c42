#pragma once
// The player's language. Every text the game shows is written in the code in Japanese, and that
// Japanese is its message id: with no catalog for the player's language, the id itself shows.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The text to show for a Japanese message id.
std::u16string tr(std::u16string_view messageId);

// `text` (a translated text) with its "%1" replaced by the decimal `n`, so each language puts
// the number where its grammar wants it.
std::u16string withNumber(std::u16string text, std::size_t n);
// The same with a text (a stage's name) in place of the number.
std::u16string withText(std::u16string text, std::u16string_view value);

// Marks a text kept in a table before it is shown, so the catalog tools find it; the table's
// user passes it through tr() when it shows it.
constexpr const char16_t* N_(const char16_t* messageId) {
    return messageId;
}

// The catalog's file name inside a locale folder: FOLDER/LANGUAGE/LC_MESSAGES/twirlstick.mo.
std::string catalogPath(const std::string& localeFolder, std::string_view language);

// Chooses the player's language (`forced` from the command line, else the environment) and
// makes tr() answer in it, from the first of `localeFolders` that has its catalog. A catalog
// that cannot be read leaves the Japanese ids showing, with one line on stderr.
// Returns the language whose texts now show.
std::string LoadLanguage(const std::vector<std::string>& localeFolders, std::string_view forced);

// LoadLanguage again, from the folders the last LoadLanguage looked in: the player chose another
// language while the game runs ("" for the environment's).
std::string ChangeLanguage(std::string_view forced);

// The language whose texts tr() answers in now: screens that outlive a change of language (the
// options screen can make one) compare it with the one their texts were made in.
const std::string& shownLanguage();
