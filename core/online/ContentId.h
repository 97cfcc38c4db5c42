#pragma once
// How the online records name a stage: by its file's content, so an edited stage is another
// stage and the game and the server agree on the name without parsing the file.
#include <string>
#include <string_view>

// The first 32 hex digits (128 bits) of the SHA-256 of the stage file's bytes, exactly as stored.
std::string stageContentId(std::string_view stageFileBytes);

// Whether `id` has the form of a content id (32 lower-case hex digits).
bool isStageContentId(std::string_view id);
