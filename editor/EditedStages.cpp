#include "editor/EditedStages.h"

#include "editor/EditText.h"
#include "lang/Translate.h"
#include "stage/FileAccess.h"
#include "stage/FileLocations.h"
#include "stage/StageFile.h"
#include "stage/StageNames.h"

#include <algorithm>
#include <memory>

namespace {
// The title line comes first in every file the game writes; a hand-made file may put a few
// short lines before it. Nothing after the points is needed.
constexpr std::size_t TitleHeadBytes = 4096;

std::u16string readTitle(const std::string& path, Stage& scratch) {
    FileReadOptions options;
    options.maxBytes = TitleHeadBytes;
    options.followLinks = false; // the working folder holds the game's own files, never links
    options.cutAtMax = true;
    std::error_code error;
    std::optional<std::string> head = readRegularFile(path, options, error);
    if (!head) return {};
    if (const std::size_t points = head->find("\nPOINT"); points != std::string::npos) head->resize(points);
    parseStage(*head, scratch);
    return sanitizeTitle(scratch.title);
}

std::string baseName(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const std::size_t slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}
} // namespace

std::vector<EditedStage> listStagesWithTitles() {
    const std::string folder = workingFolderPath();
    const auto scratch = std::make_unique<Stage>();
    std::vector<EditedStage> stages;
    for (std::string& name : listEditedStages()) {
        std::u16string title = readTitle(folder + name, *scratch);
        stages.push_back({std::move(name), std::move(title)});
    }
    return stages;
}

StageImport importStages(const std::vector<std::string>& paths) {
    StageImport result;
    const std::string folder = workingFolderPath();
    const auto stage = std::make_unique<Stage>();
    const auto empty = std::make_unique<Stage>();
    int next = 0; // "stage" + (next + 1): free names are searched once for the whole drop
    for (const std::string& path : paths) {
        std::error_code error;
        loadStage(path, *stage, &error);
        if (error) {
            result.refused.push_back({baseName(path), describeFileError(error, false)});
            continue;
        }
        if (sameStageContent(*stage, *empty)) {
            result.refused.push_back({baseName(path), tr(u"ステージのファイルではありません")});
            continue;
        }
        stage->compact();
        const std::string content = formatStage(*stage);
        for (;; ++next) {
            const std::string name = stageFileName(next);
            if (pathExists(folder + name)) continue;
            if (createFileAtomically(folder + name, content, &error)) {
                result.added.push_back({name, sanitizeTitle(stage->title)});
                ++next;
                break;
            }
            if (error == std::errc::file_exists) continue; // taken since the look: the next one
            result.refused.push_back({baseName(path), describeFileError(error, true)});
            break;
        }
    }
    return result;
}

bool deleteEditedStage(const std::string& name) {
    if (!isEditedStageName(name) || name.find('/') != std::string::npos) return false;
    removeFilesIn(workingFolderPath(), [&](std::string_view found) { return found == name; });
    return !pathExists(workingFolderPath() + name);
}
