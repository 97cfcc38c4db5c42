#include "core/game/BarIcon.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {
struct Pixel {
    int r, g, b, a;
};

Pixel pixelAt(const std::vector<std::uint8_t>& image, int size, int x, int y) {
    const std::uint8_t* p = &image[(std::size_t(y) * std::size_t(size) + std::size_t(x)) * 4];
    return {p[0], p[1], p[2], p[3]};
}

int countPixels(const std::vector<std::uint8_t>& image, bool (*test)(Pixel)) {
    int n = 0;
    for (std::size_t i = 0; i < image.size(); i += 4)
        n += test({image[i], image[i + 1], image[i + 2], image[i + 3]});
    return n;
}

std::vector<std::uint8_t> readPng(const std::string& file, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.c_str())) return {};
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    width = int(image.width);
    height = int(image.height);
    return pixels;
}

// What a desktop shows: a square of `size` pixels, rounded transparent corners, a dark face, the
// white bar with its fading trail and the red cross on its pivot.
void expectTheBarIcon(const std::vector<std::uint8_t>& icon, int size, const std::string& what) {
    ASSERT_EQ(icon.size(), std::size_t(size * size * 4)) << what;
    for (const auto& [x, y] : {std::pair{0, 0}, {size - 1, 0}, {0, size - 1}, {size - 1, size - 1}})
        EXPECT_EQ(pixelAt(icon, size, x, y).a, 0)
            << what << ": the rounded corners are transparent: " << x << "," << y;
    const Pixel edge = pixelAt(icon, size, size / 2, size / 32 + 2);
    EXPECT_EQ(edge.a, 255) << what;
    EXPECT_LT(edge.r + edge.g + edge.b, 3 * 40) << what << ": the square is dark";
    const int white =
        countPixels(icon, [](Pixel p) { return p.a == 255 && p.r > 250 && p.g > 250 && p.b > 250; });
    const int red =
        countPixels(icon, [](Pixel p) { return p.a == 255 && p.r > 200 && p.g < 60 && p.b < 60; });
    // The bar is about 48 x 4.4 of the 64-unit canvas, the cross two 12-unit strokes 3.4 wide.
    EXPECT_GT(white, size * size / 40) << what << ": the bar";
    EXPECT_GT(red, size * size / 100) << what << ": the pivot cross";
    const int trail = countPixels(icon, [](Pixel p) {
        return p.a == 255 && p.r > 50 && p.r < 200 && std::abs(p.r - p.b) < 12; // white over the dark square
    });
    EXPECT_GT(trail, size * size / 20) << what << ": the fading trail";
}
} // namespace

TEST(BarIcon, IsARoundedDarkSquareWithTheWhiteBarAndTheRedPivotCross) {
    expectTheBarIcon(drawBarIcon(128), 128, "drawn");
    EXPECT_TRUE(drawBarIcon(0).empty());
}

TEST(BarIcon, ShowsTheSamePictureAtEverySize) {
    // Averaging 4 x 4 blocks of the large picture must give the small one, up to the rounding of
    // the supersampling: an offset or a flipped axis at one size would differ by far more.
    const auto large = drawBarIcon(256);
    const auto small = drawBarIcon(64);
    int worst = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            int sum[4] = {};
            for (int dy = 0; dy < 4; ++dy) {
                for (int dx = 0; dx < 4; ++dx) {
                    const Pixel p = pixelAt(large, 256, x * 4 + dx, y * 4 + dy);
                    sum[0] += p.r * p.a, sum[1] += p.g * p.a, sum[2] += p.b * p.a, sum[3] += p.a;
                }
            }
            const Pixel s = pixelAt(small, 64, x, y);
            const int premultiplied[4] = {s.r * s.a, s.g * s.a, s.b * s.a, s.a};
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(sum[c] / 16 - premultiplied[c]) / 255);
            worst = std::max(worst, std::abs(sum[3] / 16 - premultiplied[3]));
        }
    }
    EXPECT_LE(worst, 40);
}

TEST(BarIcon, TheBuiltIconFilesHoldThePictureAtTheirSizes) {
    for (const int size : {48, 128, 256}) {
        const std::string file = std::string(ICON_DIR) + "/" + std::to_string(size) + "x" +
                                 std::to_string(size) + "/apps/" + APP_ID + ".png";
        int width = 0, height = 0;
        const auto pixels = readPng(file, width, height);
        ASSERT_FALSE(pixels.empty()) << file;
        EXPECT_EQ(width, size);
        EXPECT_EQ(height, size);
        expectTheBarIcon(pixels, size, file);
    }
}
