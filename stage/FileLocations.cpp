#include "stage/FileLocations.h"

#include "stage/StageNames.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return ".";
}
} // namespace

std::string workingFolderPath() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
        base = xdg;
    else
        base = homeFolder() + "/.local/share";
    if (base.empty() || base.back() != '/') base += '/';
    return base + "TWIRLSTICK_FILES/";
}

bool ensureWorkingFolder() {
    const fs::path folder = workingFolderPath();
    std::error_code ec;
    if (fs::is_directory(folder, ec)) return true;
    fs::create_directories(folder, ec);
    if (ec) return false;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, ec);
    return fs::is_directory(folder, ec);
}

std::string stageFileName(int stageNumber) {
    return "stage" + std::to_string(stageNumber + 1);
}

std::string replayFileName(int stageNumber) {
    return workingFolderPath() + "rep" + std::to_string(stageNumber + 1);
}

std::string testStagePath() {
    return workingFolderPath() + "tempstage";
}

std::vector<std::string> listEditedStages() {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(workingFolderPath(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (isEditedStageName(name) && it->is_regular_file(typeError)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), naturalLess);
    return names;
}

std::string nextNewStageName() {
    const std::string folder = workingFolderPath();
    for (int k = 1;; ++k) {
        const std::string name = "stage" + std::to_string(k);
        if (!pathExists(folder + name)) return name;
    }
}

void deleteWorkingFiles() {
    std::error_code ec;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(workingFolderPath(), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_directory(typeError)) files.push_back(it->path());
    }
    for (const fs::path& f : files)
        fs::remove(f, ec);
}

bool isInWorkingFolder(const std::string& path) {
    const std::string folder = workingFolderPath();
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path.find('/', folder.size()) == std::string::npos;
}

bool pathExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}
