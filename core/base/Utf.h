#pragma once
#include <string>
#include <string_view>

// UTF-8 <-> UTF-16. Malformed input (bad bytes, lone surrogates, overlong forms) becomes U+FFFD;
// nothing is read or written outside the given strings.
std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);

// The UTF-8 byte-order mark that begins every stage and replay file; readers skip it if present.
inline constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
inline std::string_view withoutBom(std::string_view text) {
    return text.starts_with(Utf8Bom) ? text.substr(Utf8Bom.size()) : text;
}

// UTF-16 surrogate halves: a high one must be followed by a low one, and no text is cut between.
inline constexpr bool isHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
inline constexpr bool isLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// `prefix` + as much of `text` as a buffer of `bufferUnits` (terminator included) keeps, never
// ending on half a surrogate pair.
std::u16string fitInBuffer(std::u16string_view prefix, std::u16string_view text, std::size_t bufferUnits);
