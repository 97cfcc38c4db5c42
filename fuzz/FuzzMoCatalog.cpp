// Any bytes as a message catalog: reading never crashes or reads outside them, and what it keeps
// is no bigger than the bytes it came from.
#include "core/lang/MoCatalog.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto catalog = parseMoCatalog(std::string_view(reinterpret_cast<const char*>(data), size));
    if (catalog && catalog->size() > size / 8) std::abort();
    return 0;
}
