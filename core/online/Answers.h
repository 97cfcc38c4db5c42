#pragma once
// The records server's answers read as a client must read a stranger's: a body larger than any
// true answer, text that is no JSON, a field of the wrong type or out of its range, and the whole
// answer is refused (nullopt); nothing in it is trusted to be small or well formed.
#include "core/online/Protocol.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace online {

// More than the longest true answer (a page of stages with long titles); the transport stops
// reading past it.
inline constexpr std::size_t MaxAnswerBytes = 256 * 1024;
// A stage's title as the server sends it: no stage file holds a longer one.
inline constexpr std::size_t MaxTitleBytes = 1024;

struct TopRuns {
    std::vector<RunEntry> runs; // best first
    std::optional<int> rank;    // the caller's, when its token was sent and it has a run there
};

std::optional<PlayerClaim> parsePlayerClaim(std::string_view body);
std::optional<std::vector<StageEntry>> parseStageList(std::string_view body);
std::optional<TopRuns> parseTopRuns(std::string_view body);
std::optional<SubmitAnswer> parseSubmitAnswer(std::string_view body);
// The content id a publish was answered with.
std::optional<std::string> parsePublishAnswer(std::string_view body);
// The reason of a refusal ({"error": "..."}), cut to one short line of printable text; "" when
// the body holds none.
std::string parseRefusal(std::string_view body);

} // namespace online
