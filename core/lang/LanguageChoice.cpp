#include "core/lang/LanguageChoice.h"

#include <cstdlib>
#include <optional>
#include <vector>

#ifndef TWIRLSTICK_CATALOGS
#error "the build names the languages that have a catalog"
#endif

namespace {
std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool isCLocale(std::string_view locale) {
    return locale.empty() || locale == "C" || locale == "POSIX" || locale.starts_with("C.");
}

// The names to look for a catalog under, most specific first: "en_GB.UTF-8@euro" gives
// "en_GB@euro", "en_GB", "en@euro", "en" (the codeset never names a catalog folder).
std::vector<std::string> namesFor(std::string_view entry) {
    std::string_view modifier;
    if (const std::size_t at = entry.find('@'); at != std::string_view::npos) {
        modifier = entry.substr(at);
        entry = entry.substr(0, at);
    }
    entry = entry.substr(0, entry.find('.'));
    const std::string_view language = entry.substr(0, entry.find('_'));
    std::vector<std::string> names;
    for (std::string_view base : {entry, language}) {
        if (base.empty()) continue;
        if (!modifier.empty()) names.push_back(std::string(base) + std::string(modifier));
        names.emplace_back(base);
    }
    return names;
}

std::optional<std::string> firstAvailable(std::string_view entry,
                                          const std::function<bool(std::string_view)>& hasCatalog) {
    for (const std::string& name : namesFor(entry)) {
        if (!isLanguageName(name)) continue;
        if (name == OwnLanguage || hasCatalog(name)) return name;
    }
    return std::nullopt;
}
} // namespace

LocaleVariables readLocaleVariables() {
    return {variable("LANGUAGE"), variable("LC_ALL"), variable("LC_MESSAGES"), variable("LANG")};
}

std::vector<std::string> gameLanguages() {
    std::vector<std::string> languages{std::string(OwnLanguage)};
    std::string_view rest = TWIRLSTICK_CATALOGS;
    while (!rest.empty()) {
        const std::size_t space = rest.find(' ');
        if (space != 0) languages.emplace_back(rest.substr(0, space));
        rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
    }
    return languages;
}

bool isLanguageName(std::string_view name) {
    if (name.empty() || name.size() > 32 || name.front() == '.') return false;
    for (char c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
              c == '-' || c == '.' || c == '@'))
            return false;
    return true;
}

std::string chooseLanguage(const LocaleVariables& variables, std::string_view forced,
                           const std::function<bool(std::string_view)>& hasCatalog) {
    if (!forced.empty()) return firstAvailable(forced, hasCatalog).value_or(std::string(FallbackLanguage));
    const std::string& locale = !variables.lcAll.empty()        ? variables.lcAll
                                : !variables.lcMessages.empty() ? variables.lcMessages
                                                                : variables.lang;
    if (isCLocale(locale)) return std::string(OwnLanguage);
    std::vector<std::string_view> entries;
    for (std::string_view rest = variables.language; !rest.empty();) {
        const std::size_t colon = rest.find(':');
        entries.push_back(rest.substr(0, colon));
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    entries.push_back(locale);
    for (std::string_view entry : entries)
        if (const auto name = firstAvailable(entry, hasCatalog)) return *name;
    return std::string(FallbackLanguage);
}
