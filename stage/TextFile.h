#pragma once
// Small helpers for the game's text files (stages, replays): reading with an optional UTF-8
// byte-order mark, and writing whole files so that a failure never leaves half a file behind.
#include <optional>
#include <string>
#include <system_error>

// Reads the file and drops a leading UTF-8 BOM if there is one; nullopt when it cannot be read.
// Files larger than maxBytes are refused rather than loaded.
std::optional<std::string> readTextFile(const std::string& path, std::size_t maxBytes);

// Writes `content` to a temporary file beside `path`, then renames it over `path`.
// Returns false (and leaves any old file untouched) when the write or the rename fails, with
// the reason in *error when given.
bool writeFileAtomically(const std::string& path, const std::string& content,
                         std::error_code* error = nullptr);
