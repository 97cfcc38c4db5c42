// A stage that came in the page's link is taken in at start as the next free stageN, exactly as
// a stage file dropped on the edit menu would be, and the page says what became of it.
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
    StageImporter importer;
    StageImport result;
    importer.Import(path, result);
    std::free(path);
    std::string line;
    if (!result.added.empty()) {
        linkedStage = result.added.front().name;
        line = "The stage from this link is now " + result.added.front().name + " (" +
               toUtf8(result.added.front().title) + "): open EDIT to play or change it.";
    } else if (!result.refused.empty())
        line = "The stage in this link was not added: " + toUtf8(result.refused.front().reason);
    twirlstick_show_status("link", line.c_str());
}

} // namespace web
} // namespace platform
