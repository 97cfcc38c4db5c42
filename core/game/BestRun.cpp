#include "core/game/BestRun.h"

#include "core/base/FileAccess.h"
#include "core/game/RecordRun.h"
#include "core/stage/FileLocations.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>

namespace {
struct CachedBestRun {
    std::string path;
    std::optional<FileStamp> stamp;
    Stage stage;
    std::optional<InputRecord> record; // nullopt: the file was refused
};

std::uint64_t fnv1a(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes)
        hash = (hash ^ std::uint8_t(c)) * 1099511628211ull;
    return hash;
}

std::string keptName(const std::string& path, std::uint64_t hash) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".old-%016llx", static_cast<unsigned long long>(hash));
    return path + suffix;
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
            problem = "not a clear of this stage";
            cache->record.reset();
        }
    }
    return cache->record ? std::make_unique<InputRecord>(*cache->record) : nullptr;
}

std::string keepRefusedBestRun(const std::string& path) {
    // Read without following a link, as the file must be the game's own; whatever cannot be
    // read so (a link, a file too large or unreadable) is moved aside whole instead.
    std::error_code error;
    const std::optional<std::string> content =
        readRegularFile(path, {maxReplayFileBytes(INT32_MAX), false, false}, error);
    if (content) {
        const std::string kept = keptName(path, fnv1a(*content));
        if (!createFileAtomically(kept, *content, &error) && error != std::errc::file_exists) return "";
        return kept;
    }
    namespace fs = std::filesystem;
    const fs::file_status status = fs::symlink_status(path, error);
    if (error || !(fs::is_symlink(status) || fs::is_regular_file(status))) return "";
    const std::optional<FileStamp> stamp = fileStamp(path);
    std::string identity = fs::is_symlink(status) ? fs::read_symlink(path, error).string() : std::string();
    if (stamp) identity += std::to_string(stamp->size) + "/" + std::to_string(stamp->modifiedNs);
    const std::string kept = keptName(path, fnv1a(identity));
    if (pathExists(kept)) return kept; // the same thing was kept before
    fs::rename(path, kept, error);
    return error ? "" : kept;
}

bool saveBestRun(const std::string& path, const Stage& stage, const InputRecord& record,
                 std::error_code& error, std::string* kept) {
    std::string problem;
    if (!loadBestRun(path, stage, problem) && fileStamp(path)) {
        const std::string keptAs = keepRefusedBestRun(path);
        if (kept) *kept = keptAs;
    }
    error.clear();
    return record.save(path, &error);
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
