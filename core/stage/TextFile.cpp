#include "core/stage/TextFile.h"

#include "core/base/FileAccess.h"
#include "core/base/Utf.h"
#include "core/stage/FileLocations.h"

std::optional<std::string> readTextFile(const std::string& path, std::size_t maxBytes,
                                        std::error_code* error) {
    FileReadOptions options;
    options.maxBytes = maxBytes;
    options.followLinks = !isInWorkingFolder(path);
    std::error_code ec;
    std::optional<std::string> data = readRegularFile(path, options, ec);
    if (error) *error = ec;
    if (data && data->starts_with(Utf8Bom)) data->erase(0, Utf8Bom.size());
    return data;
}
