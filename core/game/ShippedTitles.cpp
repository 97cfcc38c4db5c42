#include "core/game/ShippedTitles.h"

#include "core/lang/Translate.h"

namespace {
// Marked so the catalog tools find them.
const char16_t* const ShippedTitles[] = {
    N_(u"はじめの一歩"), N_(u"まっすぐの道"), N_(u"見えているのに"), N_(u"ジグザグ"), N_(u"細い道"),
    N_(u"せまい門"),     N_(u"遠回り"),       N_(u"迷路"),           N_(u"うずまき"), N_(u"最後の試練"),
};
} // namespace

std::u16string shippedStageTitle(std::u16string_view title) {
    for (const char16_t* shipped : ShippedTitles)
        if (title == shipped) return tr(title);
    return std::u16string(title);
}
