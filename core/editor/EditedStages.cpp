#include "core/editor/EditedStages.h"

#include "core/base/FileAccess.h"
#include "core/base/Utf.h"
#include "core/editor/EditText.h"
#include "core/game/ShippedTitles.h"
#include "core/lang/Translate.h"
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"
#include "core/stage/StageNames.h"
#include "core/stage/StageTitle.h"
#include "core/stage/TextFile.h"

#include <algorithm>
#include <memory>

namespace {
// The title line comes first in every file the game writes; a hand-made file may put a few
// short lines before it. Nothing after the points is needed.
constexpr std::size_t TitleHeadBytes = 4096;

// `ownFile`: a file of the working folder, which holds the game's own files and never links.
std::u16string readTitle(const std::string& path, Stage& scratch, bool ownFile) {
    FileReadOptions options;
    options.maxBytes = TitleHeadBytes;
    options.followLinks = !ownFile;
    options.cutAtMax = true;
    std::error_code error;
    std::optional<std::string> head = readRegularFile(path, options, error);
    if (!head) return {};
    if (const std::size_t points = head->find("\nPOINT"); points != std::string::npos) head->resize(points);
    parseStage(*head, scratch);
    return storableTitle(scratch.title);
}

std::size_t textHash(std::string_view stageFile) {
    return std::hash<std::string_view>{}(withoutBom(stageFile));
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
        std::u16string title = readTitle(folder + name, *scratch, true);
        stages.push_back({std::move(name), std::move(title)});
    }
    return stages;
}

std::vector<std::u16string> shippedStageTitles(int count) {
    const auto scratch = std::make_unique<Stage>();
    std::vector<std::u16string> titles;
    for (int n = 0; n < count; ++n)
        titles.push_back(readTitle(stageFileName(n), *scratch, false));
    return titles;
}

StageImporter::StageImporter(bool refuseKept) : refuseKept_(refuseKept), stage_(std::make_unique<Stage>()) {}

StageImporter::~StageImporter() = default;

bool StageImporter::Import(const std::string& path, StageImport& into) {
    std::error_code error;
    if (!loadStageFile(path, *stage_, error)) {
        into.refused.push_back({baseName(path), describeFileError(error, false), {}});
        return false;
    }
    stage_->compact();
    stage_->title = storableTitle(shippedStageTitle(stage_->title));
    const std::string content = formatStage(*stage_);
    if (std::string kept = refuseKept_ ? KeptAs(content) : std::string(); !kept.empty()) {
        into.refused.push_back({baseName(path),
                                withText(tr(u"このステージは %1 としてもうあります"), toUtf16(kept)),
                                std::move(kept)});
        return false;
    }
    const std::string folder = workingFolderPath();
    for (;; ++next_) {
        const std::string name = stageFileName(next_);
        if (pathExists(folder + name)) continue;
        if (createFileAtomically(folder + name, content, &error)) {
            into.added.push_back({name, storableTitle(stage_->title)});
            if (kept_) kept_->emplace(textHash(content), name);
            ++next_;
            return true;
        }
        if (error != std::errc::file_exists) break; // else taken since the look: the next one
    }
    into.refused.push_back({baseName(path), describeFileError(error, true), {}});
    return true;
}

std::string StageImporter::KeptAs(std::string_view content) {
    const std::string folder = workingFolderPath();
    if (!kept_) {
        kept_.emplace();
        for (std::string& name : listEditedStages())
            if (const std::optional<std::string> text = readTextFile(folder + name, MaxStageFileBytes))
                kept_->emplace(textHash(*text), std::move(name));
    }
    const auto [first, last] = kept_->equal_range(textHash(content));
    for (auto it = first; it != last; ++it) // read again: the same hash is not yet the same text
        if (readTextFile(folder + it->second, MaxStageFileBytes) == withoutBom(content)) return it->second;
    return {};
}

bool deleteEditedStage(const std::string& name) {
    if (!isEditedStageName(name) || name.find('/') != std::string::npos) return false;
    removeFilesIn(workingFolderPath(), [&](std::string_view found) { return found == name; });
    return !pathExists(workingFolderPath() + name);
}
