#include "core/lang/Translate.h"

#include "core/base/FileAccess.h"
#include "core/lang/LanguageChoice.h"
#include "core/lang/MoCatalog.h"

#include <cstdio>
#include <filesystem>

namespace {
// The game's catalogs hold a few hundred short texts; anything far larger is not one of them.
constexpr std::size_t MaxCatalogBytes = 4u << 20;

Catalog TheCatalog;
std::string TheLanguage(OwnLanguage);
std::vector<std::string> TheLocaleFolders;

bool isRegularFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::string loadCatalog(const std::vector<std::string>& localeFolders, std::string_view forced) {
    TheCatalog.clear();
    const auto findCatalog = [&](std::string_view language) -> std::string {
        for (const std::string& folder : localeFolders)
            if (const std::string path = catalogPath(folder, language); isRegularFile(path)) return path;
        return {};
    };
    const std::string language = chooseLanguage(
        readLocaleVariables(), forced, [&](std::string_view name) { return !findCatalog(name).empty(); });
    if (language == OwnLanguage) return language;
    const std::string path = findCatalog(language);
    if (path.empty()) {
        std::fprintf(stderr, "twirlstick: no catalog for language '%s'; the texts stay in Japanese\n",
                     language.c_str());
        return std::string(OwnLanguage);
    }
    std::error_code error;
    const auto image = readRegularFile(path, {.maxBytes = MaxCatalogBytes}, error);
    auto catalog = image ? parseMoCatalog(*image) : std::nullopt;
    if (!catalog) {
        std::fprintf(stderr, "twirlstick: %s: %s; the texts stay in Japanese\n", path.c_str(),
                     error ? error.message().c_str() : "not a message catalog");
        return std::string(OwnLanguage);
    }
    TheCatalog = std::move(*catalog);
    return language;
}
} // namespace

std::u16string tr(std::u16string_view messageId) {
    if (!messageId.empty())
        if (const auto found = TheCatalog.find(std::u16string(messageId)); found != TheCatalog.end())
            return found->second;
    return std::u16string(messageId);
}

std::u16string withNumber(std::u16string text, std::size_t n) {
    const std::string digits = std::to_string(n);
    return withText(std::move(text), std::u16string(digits.begin(), digits.end()));
}

std::u16string withText(std::u16string text, std::u16string_view value) {
    if (const std::size_t at = text.find(u"%1"); at != std::u16string::npos) text.replace(at, 2, value);
    return text;
}

std::string catalogPath(const std::string& localeFolder, std::string_view language) {
    return localeFolder + "/" + std::string(language) + "/LC_MESSAGES/twirlstick.mo";
}

std::string LoadLanguage(const std::vector<std::string>& localeFolders, std::string_view forced) {
    TheLocaleFolders = localeFolders;
    TheLanguage = loadCatalog(localeFolders, forced);
    return TheLanguage;
}

std::string ChangeLanguage(std::string_view forced) {
    return LoadLanguage(std::vector<std::string>(TheLocaleFolders), forced);
}

const std::string& shownLanguage() {
    return TheLanguage;
}
