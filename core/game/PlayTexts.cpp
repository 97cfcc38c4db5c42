#include "game/PlayTexts.h"

#include "game/GameConstants.h"
#include "lang/Translate.h"
#include "stage/Utf.h"

#include <cstdio>

namespace {
constexpr std::size_t TitleBufferUnits = 66; // terminator included
} // namespace

std::u16string FormatStageTitle(int stageNumber, std::u16string_view title) {
    return fitInBuffer(tr(u"ステージ") + toUtf16(std::to_string(stageNumber + 1)) + u" ", title,
                       TitleBufferUnits);
}

std::u16string FormatSeconds(int frames) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", double(frames) / FramesPerSecond);
    return toUtf16(buf);
}
