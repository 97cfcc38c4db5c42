// Finding an installed font through fontconfig, for copies of the game that carry none.
#include "ui/platform/Platform.h"

#include <fontconfig/fontconfig.h>

#include <filesystem>

namespace platform {

std::string findFontFile(const char* family) {
    std::string found;
    FcPattern* pattern = FcPatternBuild(nullptr, FC_FAMILY, FcTypeString, family, nullptr);
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* fonts = (pattern && objects) ? FcFontList(nullptr, pattern, objects) : nullptr;
    for (int i = 0; fonts && i < fonts->nfont && found.empty(); ++i) {
        FcChar8* file = nullptr;
        std::error_code ec;
        if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) == FcResultMatch &&
            std::filesystem::is_regular_file(reinterpret_cast<const char*>(file), ec))
            found = reinterpret_cast<const char*>(file);
    }
    if (fonts) FcFontSetDestroy(fonts);
    if (objects) FcObjectSetDestroy(objects);
    if (pattern) FcPatternDestroy(pattern);
    return found;
}

} // namespace platform
