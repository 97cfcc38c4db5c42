#include "app/StartUp.h"

#include "app/GameSystem.h"
#include "scene/GameState.h"
#include "stage/FileLocations.h"

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

bool EnterDataFolder() {
    if (pathExists(FontPath)) return true;
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return false;
    for (const fs::path& folder : {exe.parent_path(), exe.parent_path() / ".." / "share" / "twirlstick"}) {
        if (fs::exists(folder / FontPath, ec)) {
            fs::current_path(folder, ec);
            return !ec;
        }
    }
    return false;
}

std::optional<std::string> FirstMissingDataFile() {
    if (!pathExists(FontPath)) return std::string(FontPath);
    // All ten: a missing last stage would make the game impossible to finish while looking fine.
    for (int n = 0; n < StageCount; ++n)
        if (!pathExists(stageFileName(n))) return stageFileName(n);
    return std::nullopt;
}
