#pragma once
#include <string>
#include <string_view>

// UTF-8 <-> UTF-16. Malformed input (bad bytes, lone surrogates, overlong forms) becomes U+FFFD;
// nothing is read or written outside the given strings.
std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);

inline bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
inline bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// `prefix` + as much of `text` as a buffer of `bufferUnits` (terminator included) keeps, never
// ending on half a surrogate pair.
std::u16string fitInBuffer(std::u16string_view prefix, std::u16string_view text, std::size_t bufferUnits);
