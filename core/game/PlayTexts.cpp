#include "core/game/PlayTexts.h"

#include "core/base/Utf.h"
#include "core/game/GameConstants.h"
#include "core/lang/Translate.h"

#include <cstdio>

namespace {
constexpr std::size_t TitleBufferUnits = 66; // terminator included
} // namespace

std::u16string FormatStageTitle(int stageNumber, std::u16string_view title) {
    return fitInBuffer(tr(u"ステージ") + toUtf16(std::to_string(stageNumber + 1)) + u" ", title,
                       TitleBufferUnits);
}

std::u16string FormatOwnStageTitle(const std::string& fileName, std::u16string_view title) {
    constexpr std::size_t NameUnits = 24; // a long file name still leaves room for the title
    return fitInBuffer(fitInBuffer(toUtf16(fileName), u"", NameUnits + 1) + u" ", title, TitleBufferUnits);
}

std::u16string FormatSeconds(std::int64_t frames) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", double(frames) / FramesPerSecond);
    return toUtf16(buf);
}
