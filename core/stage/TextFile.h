#pragma once
// The game's text files (stages, replays): read whole, with an optional UTF-8 byte-order mark.
#include <optional>
#include <string>
#include <system_error>

// The file's text without a leading BOM; nullopt (and the reason in `error`) when it is missing,
// not a regular file, larger than maxBytes, or unreadable. Files in the working folder are the
// game's own, so a link standing there in their place is refused rather than followed.
std::optional<std::string> readTextFile(const std::string& path, std::size_t maxBytes,
                                        std::error_code* error = nullptr);
