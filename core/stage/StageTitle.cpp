#include "core/stage/StageTitle.h"

#include "core/base/Utf.h"

#include <algorithm>

namespace {
bool isControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

std::u16string trimmed(std::u16string_view text, std::u16string_view blanks = u" ") {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::u16string_view::npos) return {};
    return std::u16string(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

// The blanks that separate words in a stage file's line.
constexpr std::u16string_view FileBlanks = u" \t";
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

std::u16string readTitle(std::u16string_view text) {
    return trimmed(fitInBuffer(u"", trimmed(text, FileBlanks), MaxStoredTitleUnits + 1), FileBlanks);
}

bool fileKeepsTitle(std::u16string_view title) {
    return title.find(u'\n') == std::u16string_view::npos && toUtf16(toUtf8(title)) == title &&
           readTitle(title) == title;
}
