#include "core/base/TextScan.h"

#include <cerrno>
#include <cstdlib>
#include <string>

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

bool isTypedBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == 0x3000;
}

std::optional<LeadingInteger> leadingInteger(std::string_view text) {
    const std::string copy(text); // strtoll needs the terminator a view lacks
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(copy.c_str(), &end, 10);
    if (end == copy.c_str() || errno == ERANGE) return std::nullopt;
    return LeadingInteger{v, std::size_t(end - copy.c_str())};
}
