// Any bytes as UTF-8 and any units as UTF-16, lone surrogates included: conversion never reads
// or writes outside its strings, a converted text converts back to itself, and malformed parts
// become U+FFFD one for one on the UTF-16 side.
#include "core/base/Utf.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string fromBytes = toUtf16(bytes);
    if (toUtf16(toUtf8(fromBytes)) != fromBytes) std::abort();

    std::u16string units;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        units += char16_t(data[i] | data[i + 1] << 8);
    const std::u16string back = toUtf16(toUtf8(units));
    if (back.size() != units.size()) std::abort();
    std::u16string expected;
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (isHighSurrogate(units[i]) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
            expected += units.substr(i++, 2);
        } else {
            const bool lone = isHighSurrogate(units[i]) || isLowSurrogate(units[i]);
            expected += lone ? char16_t(0xFFFD) : units[i];
        }
    }
    if (back != expected) std::abort();
    const std::u16string fitted = fitInBuffer(u"", units, 1 + size % 64);
    if (fitted.size() > size % 64 || (!fitted.empty() && isHighSurrogate(fitted.back()) &&
                                      fitted.size() < units.size() && isLowSurrogate(units[fitted.size()])))
        std::abort();
    return 0;
}
