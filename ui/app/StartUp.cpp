#include "ui/app/StartUp.h"

#include "core/play/GameSession.h"
#include "core/stage/FileLocations.h"
#include "ui/platform/Platform.h"
#include "ui/system/GameSystem.h"

#include <algorithm>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// Where the install puts the data, relative to where it puts the game; the build works it out
// from the install folders, so a packager's choice (bin/ or games/) is followed.
constexpr const char* InstalledDataFromBinary = TWIRLSTICK_DATA_FROM_BINARY;
constexpr const char* InstalledLocaleFromData = TWIRLSTICK_LOCALE_FROM_DATA;

// The first stage and what no folder of edited stages has: the sounds or the font. The working
// folder, or a stage maker's own, holds a stage1 too; taken for the game's folder it would stop
// the game over a missing stage2.
bool holdsGameData(const fs::path& folder) {
    std::error_code ec;
    return fs::exists(folder / stageFileName(0), ec) &&
           (fs::is_directory(folder / "sound", ec) || fs::exists(folder / FontPath, ec));
}
} // namespace

DataFolderSearch EnterDataFolder() {
    DataFolderSearch search;
    std::error_code ec;
    search.searched.push_back(fs::current_path(ec).string());
    if (holdsGameData(".")) {
        search.found = true;
        return search;
    }
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return search;
    for (const fs::path& folder : {exe.parent_path(), exe.parent_path() / InstalledDataFromBinary}) {
        const std::string name = folder.lexically_normal().string();
        if (std::find(search.searched.begin(), search.searched.end(), name) == search.searched.end())
            search.searched.push_back(name);
        if (holdsGameData(folder)) {
            fs::current_path(folder, ec);
            search.found = !ec;
            return search;
        }
    }
    return search;
}

std::string MissingDataLine(const std::string& file, const DataFolderSearch& search) {
    std::string line = "twirlstick: cannot find the data file \"" + file + "\" in ";
    if (search.found) {
        line += search.searched.back();
    } else {
        for (std::size_t i = 0; i < search.searched.size(); ++i)
            line += (i == 0 ? "" : i + 1 == search.searched.size() ? " or " : ", ") + search.searched[i];
    }
    if (file == FontPath) line += std::string(", and the system has no font ") + SystemFontFamily;
    return line;
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

std::vector<std::string> LocaleFolders() {
    return {"locale", InstalledLocaleFromData};
}
