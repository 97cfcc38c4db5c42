#pragma once
#include <string>
#include <string_view>

// UTF-8 <-> UTF-16. Malformed input (bad bytes, lone surrogates, overlong forms) becomes U+FFFD;
// nothing is read or written outside the given strings.
std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);
