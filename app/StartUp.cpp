#include "app/StartUp.h"

#include "app/GameSystem.h"
#include "platform/Platform.h"
#include "scene/GameState.h"
#include "stage/FileLocations.h"

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// Where the install puts the data, relative to where it puts the game; the build works it out
// from the install folders, so a packager's choice (bin/ or games/) is followed.
constexpr const char* InstalledDataFromBinary = TWIRLSTICK_DATA_FROM_BINARY;
} // namespace

bool EnterDataFolder() {
    // The first stage marks the data folder: an installed copy has no font of its own.
    const std::string marker = stageFileName(0);
    if (pathExists(marker)) return true;
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return false;
    for (const fs::path& folder : {exe.parent_path(), exe.parent_path() / InstalledDataFromBinary}) {
        if (fs::exists(folder / marker, ec)) {
            fs::current_path(folder, ec);
            return !ec;
        }
    }
    return false;
}

std::string GameFontPath() {
    if (pathExists(FontPath)) return FontPath;
    return platform::findFontFile(SystemFontFamily);
}

std::optional<std::string> FirstMissingDataFile() {
    if (GameFontPath().empty()) return std::string(FontPath);
    // All ten: a missing last stage would make the game impossible to finish while looking fine.
    for (int n = 0; n < StageCount; ++n)
        if (!pathExists(stageFileName(n))) return stageFileName(n);
    return std::nullopt;
}
