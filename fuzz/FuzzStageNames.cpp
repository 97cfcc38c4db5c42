// Any three names: the edit menu's natural order is a strict weak order (irreflexive,
// asymmetric, transitive, total), so sorting any listing is well defined; the name tests answer
// without reading outside the name. Names are separated by NUL bytes.
#include "core/stage/FileLocations.h"
#include "core/stage/StageNames.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::array<std::string_view, 3> names{};
    for (std::string_view& name : names) {
        const std::size_t end = rest.find('\0');
        name = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        isEditedStageName(name);
        isGameFileName(name);
    }
    const auto& [a, b, c] = names;
    if (naturalLess(a, a)) std::abort();
    if (naturalLess(a, b) && naturalLess(b, a)) std::abort();
    if (a != b && !naturalLess(a, b) && !naturalLess(b, a)) std::abort(); // total: ties only for equal names
    if (naturalLess(a, b) && naturalLess(b, c) && !naturalLess(a, c)) std::abort();
    return 0;
}
