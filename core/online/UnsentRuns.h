#pragma once
// Best runs on their way to the records server, kept in the working folder until it has them:
// a run made with the server out of reach (or before the player had a name) is sent later, and
// nothing is lost by playing offline. One file a stage, so a better run replaces the one waiting,
// and a bounded number of stages, so the folder cannot fill up with them.
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace online {

inline constexpr std::size_t MaxUnsentRuns = 100;

// Keeps `replay` as the run waiting for the stage `stageId` (a content id), replacing one that
// waited there. False, with the reason in `error`, when it cannot be written or when as many
// other stages' runs wait already (no_buffer_space).
bool keepUnsentRun(std::string_view stageId, std::string_view replay, std::error_code& error);

// The stages with a run waiting, in a stable order, at most MaxUnsentRuns.
std::vector<std::string> unsentStageIds();

// The run waiting for a stage; nullopt when there is none, or none the server would take.
std::optional<std::string> readUnsentRun(std::string_view stageId);

// Forgets the run waiting for a stage when it is still `replay` (a better run may have taken its
// place while it was on its way).
void dropUnsentRun(std::string_view stageId, std::string_view replay);

} // namespace online
