#include "stage/StageTitle.h"

#include "stage/Utf.h"

#include <algorithm>

namespace {
bool isControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

std::u16string trimmed(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) return {};
    return std::u16string(text.substr(first, text.find_last_not_of(u' ') - first + 1));
}
} // namespace

std::u16string storableTitle(std::u16string_view text) {
    std::u16string out;
    out.reserve(std::min(text.size(), MaxTitleUnits));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            out += c;
            out += text[++i];
        } else if (!isControl(c) && !isHighSurrogate(c) && !isLowSurrogate(c)) {
            out += c;
        }
    }
    // Trimmed before the cut too, so leading blanks do not use up the room.
    return trimmed(fitInBuffer(u"", trimmed(out), MaxTitleUnits + 1));
}
