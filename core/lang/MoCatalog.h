#pragma once
// A compiled gettext catalog (a .mo file): the translation of each message id.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

using Catalog = std::unordered_map<std::u16string, std::u16string>;

// The catalog in a .mo file's bytes, in either byte order. Entries with an empty translation
// are left out (their id shows), as are the header and entries with a context; of a plural
// entry only the singular is kept. nullopt when the bytes are not a whole catalog in UTF-8:
// every table and string must lie inside them.
std::optional<Catalog> parseMoCatalog(std::string_view image);
