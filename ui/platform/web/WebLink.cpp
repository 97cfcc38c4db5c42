// A stage that came in the page's link is taken in, at start or when the link is pasted into the
// open tab, as the next free stageN, as a stage file dropped on the edit menu would be (unless
// the player has it already), and the page says what became of it in the player's language.
#include "core/base/Utf.h"
#include "core/editor/EditedStages.h"
#include "core/lang/Translate.h"
#include "ui/platform/web/WebCanvas.h"
#include "ui/platform/web/WebPage.h"

#include <cstdlib>
#include <string>
#include <utility>

namespace platform {
namespace {
std::string linkedStage; // until the title offers to play it
} // namespace

std::string takeLinkedStage() {
    return std::exchange(linkedStage, {});
}

namespace web {

void importLinkedStage() {
    char* path = twirlstick_linked_stage();
    if (!path) return;
    StageImporter importer(true);
    StageImport result;
    importer.Import(path, result);
    std::free(path);
    std::u16string line;
    if (!result.added.empty()) {
        const EditedStage& added = result.added.front();
        linkedStage = added.name;
        line = withText(tr(u"このリンクのステージを %1 として加えました。EDIT から遊んだり変えたりできます"),
                        toUtf16(added.name) + u" " + withText(tr(u"「%1」"), added.title));
    } else if (!result.refused.empty() && !result.refused.front().keptAs.empty()) {
        linkedStage = result.refused.front().keptAs; // still worth the offer to play it
        line = withText(tr(u"このステージは %1 としてもうあります"), toUtf16(linkedStage));
    } else if (!result.refused.empty())
        line = tr(u"このリンクのステージは加えませんでした：") + result.refused.front().reason;
    twirlstick_show_status("link", toUtf8(line).c_str());
}

} // namespace web
} // namespace platform
