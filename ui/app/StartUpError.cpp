#include "ui/app/StartUpError.h"

#include "core/base/Utf.h"
#include "ui/platform/Platform.h"
#include "ui/system/GameSystem.h"
#include "ui/system/MessageBox.h"

#include <cstdio>

namespace {
void showBoxInOwnWindow(const std::string& file) {
    GameSystem system(GameFontPath()); // a window of its own, with the glyph cache the box draws with
    if (!system.Ready()) return;
    TheGameSystem = &system;
    platform::showWindow();
    ShowMessageBox(tr(MissingFileText), toUtf16(file), MessageBoxStyle::Ok);
    TheGameSystem = nullptr;
}
} // namespace

void ReportMissingDataFile(const std::string& file, const DataFolderSearch& search) {
    std::fprintf(stderr, "%s\n", MissingDataLine(file, search).c_str());
    if (GameFontPath().empty()) {
        platform::showSimpleMessageBox(file, toUtf8(tr(MissingFileText)));
        return;
    }
    if (!platform::initSystems()) return;
    showBoxInOwnWindow(file);
    platform::shutdownSystems();
}
