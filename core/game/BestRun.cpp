#include "core/game/BestRun.h"

#include "core/base/FileAccess.h"
#include "core/game/RecordRun.h"

#include <cstdint>
#include <cstdio>
#include <optional>

namespace {
struct CachedBestRun {
    std::string path;
    std::optional<FileStamp> stamp;
    Stage stage;
    std::optional<InputRecord> record; // nullopt: the file was refused
};

// A player's best run of a stage as it was before the stage changed is still their run: it is
// kept beside the file under a name of its own before the next clear replaces it. The name carries
// the content's hash, so keeping the same file again finds it kept and never overwrites another.
// The copy is read without following a link, as the file must be the game's own.
std::string keepAsOlderStageRun(const std::string& path, std::int32_t longestRun) {
    std::error_code error;
    const std::optional<std::string> content =
        readRegularFile(path, {maxReplayFileBytes(longestRun), false, false}, error);
    if (!content) return "";
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (const char c : *content)
        hash = (hash ^ std::uint8_t(c)) * 1099511628211ull;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".old-%016llx", static_cast<unsigned long long>(hash));
    const std::string kept = path + suffix;
    if (!createFileAtomically(kept, *content, &error) && error != std::errc::file_exists) return "";
    return kept;
}
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
        if (error) {
            if (stamp) problem = error.message();
            cache->record.reset();
        } else if (!clearsAsClaimed(stage, *cache->record)) {
            const std::string kept = keepAsOlderStageRun(path, framesForTimeLimit(stage.timeLimit));
            problem =
                kept.empty() ? "not a clear of this stage" : "not a clear of this stage; kept as " + kept;
            cache->record.reset();
        }
    }
    return cache->record ? std::make_unique<InputRecord>(*cache->record) : nullptr;
}

std::unique_ptr<InputRecord> loadProvenRoute(const std::string& path, const Stage& stage,
                                             std::string& problem) {
    auto route = std::make_unique<InputRecord>();
    std::error_code error;
    route->load(path, framesForTimeLimit(stage.timeLimit), &error);
    problem = error ? error.message() : clearsAsClaimed(stage, *route) ? "" : "not a clear of this stage";
    if (!problem.empty()) return nullptr;
    route->rewind();
    return route;
}
