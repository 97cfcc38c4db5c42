#include "core/online/UnsentRuns.h"

#include "core/base/FileAccess.h"
#include "core/online/ContentId.h"
#include "core/online/Protocol.h"
#include "core/stage/FileLocations.h"

#include <algorithm>

namespace online {
namespace {
constexpr std::string_view Prefix = "unsent-";
}

bool keepUnsentRun(std::string_view stageId, std::string_view replay, std::error_code& error) {
    if (!isStageContentId(stageId) || replay.size() > MaxSubmittedReplayBytes) {
        error = std::make_error_code(std::errc::invalid_argument);
        return false;
    }
    const std::vector<std::string> waiting = unsentStageIds();
    if (waiting.size() >= MaxUnsentRuns &&
        std::find(waiting.begin(), waiting.end(), stageId) == waiting.end()) {
        error = std::make_error_code(std::errc::no_buffer_space);
        return false;
    }
    return writeFileAtomically(unsentRunPath(stageId), replay, &error);
}

std::vector<std::string> unsentStageIds() {
    std::vector<std::string> ids = workingFolderFiles([](std::string_view name) {
        return name.starts_with(Prefix) && isStageContentId(name.substr(Prefix.size()));
    });
    for (std::string& id : ids)
        id.erase(0, Prefix.size());
    std::sort(ids.begin(), ids.end());
    if (ids.size() > MaxUnsentRuns) ids.resize(MaxUnsentRuns);
    return ids;
}

std::optional<std::string> readUnsentRun(std::string_view stageId) {
    if (!isStageContentId(stageId)) return std::nullopt;
    std::error_code error;
    // A link there is not the game's file: it is not followed.
    return readRegularFile(unsentRunPath(stageId), {MaxSubmittedReplayBytes, false, false}, error);
}

void dropUnsentRun(std::string_view stageId, std::string_view replay) {
    if (readUnsentRun(stageId) != replay) return;
    const std::string name = std::string(Prefix) + std::string(stageId);
    removeFilesIn(workingFolderPath(), [&](std::string_view file) { return file == name; });
}

} // namespace online
