// Any name and content through the file layer, in a folder of its own: an atomic write either
// fails leaving nothing or reads back byte for byte, the size cap refuses or cuts exactly, and no
// temporary file is ever left behind. The first byte picks the name's length.
#include "core/base/FileAccess.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {
std::string folder() {
    static const std::string path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "twirlstick-fuzz-XXXXXX").string();
        return std::string(mkdtemp(pattern.data()));
    }();
    return path;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t nameLength = std::min<std::size_t>(data[0] % 40, size - 1);
    std::string name(reinterpret_cast<const char*>(data + 1), nameLength);
    const std::string content(reinterpret_cast<const char*>(data + 1 + nameLength), size - 1 - nameLength);
    for (char& c : name)
        if (c == '/' || c == '\0') c = '_';
    if (name.empty() || name == "." || name == "..") name = "f";
    const std::string path = folder() + "/" + name;
    std::error_code error;
    if (writeFileAtomically(path, content, &error)) {
        FileReadOptions options;
        options.maxBytes = content.size();
        options.followLinks = false;
        const std::optional<std::string> back = readRegularFile(path, options, error);
        if (!back || *back != content) std::abort();
        if (!content.empty()) {
            options.maxBytes = content.size() - 1;
            if (readRegularFile(path, options, error) || error != FileError::TooLarge) std::abort();
            options.cutAtMax = true;
            const std::optional<std::string> cut = readRegularFile(path, options, error);
            if (!cut || *cut != content.substr(0, content.size() - 1)) std::abort();
        }
    } else if (std::filesystem::exists(std::filesystem::symlink_status(path))) {
        std::abort(); // a failed write leaves nothing of its own
    }
    bool leftOver = false;
    removeFilesIn(folder(), [&](std::string_view entry) {
        leftOver = leftOver || isTemporaryFileName(entry);
        return true;
    });
    if (leftOver) std::abort();
    return 0;
}
