#include "core/stage/FileLocations.h"

#include "core/base/FileAccess.h"
#include "core/stage/StageFile.h"
#include "core/stage/StageNames.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
constexpr std::string_view OwnReplayPrefix = "rep-";
constexpr std::string_view UnsentRunPrefix = "unsent-";
constexpr std::string_view OnlineStagePrefix = "online-";
constexpr std::size_t OwnReplayDigits = 16;

bool isLowerHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// FNV-1a: 64 bits make an accidental match between two of a player's stages vanishingly rare,
// and a best run that matched by accident would still have to clear the other stage to count.
std::uint64_t contentHash(std::string_view text) {
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : text) {
        h ^= std::uint8_t(c);
        h *= 1099511628211ull;
    }
    return h;
}

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

bool ensureWorkingFolder(std::error_code* error) {
    const std::string folder = workingFolderPath();
    std::error_code ec;
    fs::create_directories(folder, ec);
    std::error_code linkError;
    const bool linked = fs::is_symlink(fs::symlink_status(folder.substr(0, folder.size() - 1), linkError));
    if (!ec) ec = linked ? checkOwnFolder(folder) : makeFolderPrivate(folder);
    if (error) *error = ec;
    return !ec;
}

std::string stageFileName(int stageNumber) {
    return "stage" + std::to_string(stageNumber + 1);
}

std::string solutionFileName(int stageNumber) {
    return "solutions/stage" + std::to_string(stageNumber + 1) + ".rep";
}

std::string replayFileName(int stageNumber) {
    return workingFolderPath() + "rep" + std::to_string(stageNumber + 1);
}

std::string testStagePath() {
    return workingFolderPath() + "tempstage";
}

std::string testGhostPath() {
    return workingFolderPath() + "tempghost";
}

std::string ownReplayFileName(const Stage& stage) {
    // The file's text names the content whatever slots the points sit in.
    const auto compacted = std::make_unique<Stage>(stage);
    compacted->compact();
    const std::uint64_t hash = contentHash(formatStage(*compacted));
    std::string name(OwnReplayPrefix);
    for (int shift = 60; shift >= 0; shift -= 4)
        name += "0123456789abcdef"[(hash >> shift) & 15];
    return workingFolderPath() + name;
}

std::string unsentRunPath(std::string_view stageId) {
    return workingFolderPath() + std::string(UnsentRunPrefix) + std::string(stageId);
}

std::string onlineStagePath(std::string_view stageId) {
    return workingFolderPath() + std::string(OnlineStagePrefix) + std::string(stageId);
}

std::string onlinePlayerPath() {
    return workingFolderPath() + "online-player";
}

std::vector<std::string> workingFolderFiles(bool (*wanted)(std::string_view name)) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(workingFolderPath(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (wanted(name) && it->is_regular_file(typeError)) names.push_back(name);
    }
    return names;
}

std::vector<std::string> listEditedStages() {
    std::vector<std::string> names = workingFolderFiles(isEditedStageName);
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

bool isGameFileName(std::string_view name) {
    // A best run kept when its stage changed: the run's own name, ".old-" and 16 hex digits.
    constexpr std::string_view OlderStage = ".old-";
    if (const std::size_t at = name.rfind(OlderStage); at != std::string_view::npos) {
        const std::string_view run = name.substr(0, at), digits = name.substr(at + OlderStage.size());
        if (digits.size() == 16 && std::all_of(digits.begin(), digits.end(), isLowerHex) &&
            (run.starts_with("rep") || run == "tempghost") &&
            run.find(OlderStage) == std::string_view::npos && isGameFileName(run))
            return true;
    }
    const auto numbered = [&](std::string_view prefix) {
        return name.size() > prefix.size() && name.starts_with(prefix) &&
               std::all_of(name.begin() + std::ptrdiff_t(prefix.size()), name.end(),
                           [](char c) { return c >= '0' && c <= '9'; });
    };
    const bool ownReplay =
        name.size() == OwnReplayPrefix.size() + OwnReplayDigits && name.starts_with(OwnReplayPrefix) &&
        std::all_of(name.begin() + std::ptrdiff_t(OwnReplayPrefix.size()), name.end(), isLowerHex);
    const auto contentNamed = [&](std::string_view prefix) { // a prefix and a stage's content id
        return name.size() == prefix.size() + 32 && name.starts_with(prefix) &&
               std::all_of(name.begin() + std::ptrdiff_t(prefix.size()), name.end(), isLowerHex);
    };
    // The lists and reset-all go by the same rule, so they never disagree on what is an edited stage.
    return isEditedStageName(name) || numbered("rep") || ownReplay || contentNamed(UnsentRunPrefix) ||
           contentNamed(OnlineStagePrefix) || name == "tempstage" || name == "tempghost" ||
           isTemporaryFileName(name);
}

void sweepTemporaryFiles() {
    // The game never makes a link there, so a link of that name is someone else's and stays.
    removeFilesIn(workingFolderPath(), isTemporaryFileName, std::chrono::minutes(1), Removing::FilesOnly);
}

void deleteWorkingFiles() {
    // A save's temporary file only seconds old may be another running copy's save in progress:
    // those go as the start-up sweep takes them, once a minute old.
    removeFilesIn(workingFolderPath(),
                  [](std::string_view name) { return isGameFileName(name) && !isTemporaryFileName(name); });
    sweepTemporaryFiles();
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
