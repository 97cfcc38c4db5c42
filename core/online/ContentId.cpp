#include "core/online/ContentId.h"

#include "core/online/Sha256.h"

#include <algorithm>

std::string stageContentId(std::string_view stageFileBytes) {
    return sha256Hex(stageFileBytes).substr(0, 32);
}

bool isStageContentId(std::string_view id) {
    return id.size() == 32 && std::all_of(id.begin(), id.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}
