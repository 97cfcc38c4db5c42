// make-icons NAME FOLDER SIZE...: writes the game's icon as FOLDER/<n>x<n>/apps/NAME.png for each
// size, in the layout of a desktop's hicolor theme. The picture is the one the game sets on its window.
#include "core/game/BarIcon.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {
bool writePng(const fs::path& file, int size) {
    const auto pixels = drawBarIcon(size);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(size);
    image.height = png_uint_32(size);
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, file.c_str(), 0, pixels.data(), 0, nullptr)) {
        std::fprintf(stderr, "make-icons: cannot write %s: %s\n", file.c_str(), image.message);
        return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: make-icons NAME FOLDER SIZE...\n");
        return 2;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 16 || size > 1024) {
            std::fprintf(stderr, "make-icons: unusable size %s\n", argv[i]);
            return 2;
        }
        const fs::path folder =
            fs::path(argv[2]) / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (ec) {
            std::fprintf(stderr, "make-icons: cannot create %s: %s\n", folder.c_str(), ec.message().c_str());
            return 1;
        }
        if (!writePng(folder / (std::string(argv[1]) + ".png"), size)) return 1;
    }
    return 0;
}
