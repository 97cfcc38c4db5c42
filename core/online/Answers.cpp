#include "core/online/Answers.h"

#include "core/online/ContentId.h"
#include "core/online/PlayerName.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>

using nlohmann::json;

namespace online {
namespace {
constexpr std::size_t MaxReasonBytes = 120;
constexpr std::size_t MaxTokenBytes = 128;
constexpr std::size_t MaxDateBytes = 40;

// The object a body holds, or nullopt for anything else (no exception escapes a bad body).
std::optional<json> objectOf(std::string_view body) {
    if (body.size() > MaxAnswerBytes) return std::nullopt;
    json value = json::parse(body, nullptr, false);
    if (value.is_discarded() || !value.is_object()) return std::nullopt;
    return value;
}

std::optional<std::string> text(const json& object, const char* key, std::size_t maxBytes) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_string()) return std::nullopt;
    const std::string& s = it->get_ref<const std::string&>();
    if (s.size() > maxBytes) return std::nullopt;
    return s;
}

std::optional<std::int64_t> number(const json& object, const char* key, std::int64_t low, std::int64_t high) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_number_integer()) return std::nullopt;
    const std::int64_t n = it->is_number_unsigned() && it->get<std::uint64_t>() > std::uint64_t(high)
                               ? high + 1
                               : it->get<std::int64_t>();
    if (n < low || n > high) return std::nullopt;
    return n;
}

constexpr std::int64_t MaxFrames = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t MaxId = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t MaxRank = std::numeric_limits<int>::max();

// The list under `key`, at most `maxItems` long; nullopt when it is missing, too long or holds
// an item `read` refuses.
template <typename T, typename Read>
std::optional<std::vector<T>> listOf(const json& object, const char* key, std::size_t maxItems, Read read) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_array() || it->size() > maxItems) return std::nullopt;
    std::vector<T> items;
    for (const json& item : *it) {
        if (!item.is_object()) return std::nullopt;
        std::optional<T> entry = read(item);
        if (!entry) return std::nullopt;
        items.push_back(std::move(*entry));
    }
    return items;
}
} // namespace

std::optional<PlayerClaim> parsePlayerClaim(std::string_view body) {
    const std::optional<json> object = objectOf(body);
    if (!object) return std::nullopt;
    std::optional<std::string> name = text(*object, "name", 4 * MaxPlayerNameChars);
    std::optional<std::string> token = text(*object, "token", MaxTokenBytes);
    const auto tokenChar = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); };
    if (!name || !isValidPlayerName(*name) || !token || token->size() < 16 ||
        !std::all_of(token->begin(), token->end(), tokenChar))
        return std::nullopt;
    return PlayerClaim{std::move(*name), std::move(*token)};
}

std::optional<std::vector<StageEntry>> parseStageList(std::string_view body) {
    const std::optional<json> object = objectOf(body);
    if (!object) return std::nullopt;
    return listOf<StageEntry>(
        *object, "stages", MaxStagesPage, [](const json& item) -> std::optional<StageEntry> {
            StageEntry entry;
            std::optional<std::string> id = text(item, "id", 32);
            std::optional<std::string> title = text(item, "title", MaxTitleBytes);
            if (!id || !isStageContentId(*id) || !title) return std::nullopt;
            entry.id = std::move(*id);
            entry.title = std::move(*title);
            if (item.contains("number") && !item["number"].is_null()) {
                const std::optional<std::int64_t> n = number(item, "number", 1, MaxStageNumber);
                if (!n) return std::nullopt;
                entry.number = int(*n);
            }
            if (item.contains("maker") && !item["maker"].is_null()) {
                std::optional<std::string> maker = text(item, "maker", 4 * MaxPlayerNameChars);
                if (!maker || !isValidPlayerName(*maker)) return std::nullopt;
                entry.maker = std::move(*maker);
            }
            return entry;
        });
}

std::optional<TopRuns> parseTopRuns(std::string_view body) {
    const std::optional<json> object = objectOf(body);
    if (!object) return std::nullopt;
    std::optional<std::vector<RunEntry>> runs =
        listOf<RunEntry>(*object, "runs", MaxTopRuns, [](const json& item) -> std::optional<RunEntry> {
            const std::optional<std::int64_t> id = number(item, "id", 1, MaxId);
            const std::optional<std::int64_t> frames = number(item, "frames", 1, MaxFrames);
            std::optional<std::string> name = text(item, "name", 4 * MaxPlayerNameChars);
            if (!id || !frames || !name || !isValidPlayerName(*name)) return std::nullopt;
            return RunEntry{*id, std::move(*name), std::int32_t(*frames),
                            text(item, "date", MaxDateBytes).value_or("")};
        });
    if (!runs) return std::nullopt;
    TopRuns top{std::move(*runs), std::nullopt};
    if (object->contains("rank") && !(*object)["rank"].is_null()) {
        const std::optional<std::int64_t> rank = number(*object, "rank", 1, MaxRank);
        if (!rank) return std::nullopt;
        top.rank = int(*rank);
    }
    return top;
}

std::optional<SubmitAnswer> parseSubmitAnswer(std::string_view body) {
    const std::optional<json> object = objectOf(body);
    if (!object) return std::nullopt;
    const std::optional<std::int64_t> id = number(*object, "id", 1, MaxId);
    const std::optional<std::int64_t> frames = number(*object, "frames", 1, MaxFrames);
    const std::optional<std::int64_t> rank = number(*object, "rank", 1, MaxRank);
    if (!id || !frames || !rank) return std::nullopt;
    const auto kept = object->find("kept");
    return SubmitAnswer{*id, std::int32_t(*frames), int(*rank),
                        kept != object->end() && kept->is_boolean() && kept->get<bool>()};
}

std::optional<std::string> parsePublishAnswer(std::string_view body) {
    const std::optional<json> object = objectOf(body);
    if (!object) return std::nullopt;
    std::optional<std::string> id = text(*object, "id", 32);
    if (!id || !isStageContentId(*id)) return std::nullopt;
    return id;
}

std::string parseRefusal(std::string_view body) {
    const std::optional<json> object = objectOf(body);
    if (!object) return "";
    const auto it = object->find("error");
    if (it == object->end() || !it->is_string()) return "";
    std::string reason;
    for (const char c : it->get_ref<const std::string&>()) {
        if (reason.size() >= MaxReasonBytes && (c & 0xC0) != 0x80) break; // never inside a character
        // Control characters would break the line on screen; the rest of UTF-8 passes.
        reason += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? ' ' : c;
    }
    return reason;
}

} // namespace online
