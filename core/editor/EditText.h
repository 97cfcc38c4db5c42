#pragma once
// What the editor makes of the texts typed into its two input boxes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

// A decimal integer from the start of the text: leading blanks skipped, an optional sign,
// ASCII or full-width digits, anything after the number ignored ("45abc" is 45). Values beyond
// the 32-bit range are clamped to it. nullopt when the text does not start with a number.
std::optional<std::int32_t> parseTimeLimit(std::u16string_view text);

// Why a stage file could not be written (or read), in the player's words.
std::u16string describeFileError(const std::error_code& error, bool writing);

// A path broken into lines of at most `width` units, after a '/' where it can be, so that a
// message box shows all of it.
std::u16string wrapPath(std::u16string_view path, std::size_t width);
