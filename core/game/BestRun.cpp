#include "game/BestRun.h"

#include "game/RecordRun.h"
#include "stage/FileAccess.h"

#include <optional>

namespace {
struct CachedBestRun {
    std::string path;
    std::optional<FileStamp> stamp;
    Stage stage;
    std::optional<InputRecord> record; // nullopt: the file was refused
};
} // namespace

std::unique_ptr<InputRecord> loadBestRun(const std::string& path, const Stage& stage, std::string& problem) {
    static std::optional<CachedBestRun> cache;
    const std::optional<FileStamp> stamp = fileStamp(path);
    problem.clear();
    if (!cache || cache->path != path || cache->stamp != stamp || !sameStageContent(cache->stage, stage)) {
        cache = CachedBestRun{path, stamp, stage, InputRecord{}};
        std::error_code error;
        cache->record->load(path, framesForTimeLimit(stage.timeLimit), &error);
        // A file that is no best run of this stage is treated as none: the next clear replaces it.
        if (error || !clearsAsClaimed(stage, *cache->record)) {
            if (stamp) problem = error ? error.message() : "not a clear of this stage";
            cache->record.reset();
        }
    }
    return cache->record ? std::make_unique<InputRecord>(*cache->record) : nullptr;
}
