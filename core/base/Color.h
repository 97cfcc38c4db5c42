#pragma once
#include <cstdint>

// Packed colour: red in the low byte, then green, blue, alpha in the high byte.
using Color32 = std::uint32_t;

constexpr Color32 makeColor(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    return Color32(r) | (Color32(g) << 8) | (Color32(b) << 16) | (Color32(a) << 24);
}
constexpr std::uint8_t colorRed(Color32 c) {
    return std::uint8_t(c);
}
constexpr std::uint8_t colorGreen(Color32 c) {
    return std::uint8_t(c >> 8);
}
constexpr std::uint8_t colorBlue(Color32 c) {
    return std::uint8_t(c >> 16);
}
constexpr std::uint8_t colorAlpha(Color32 c) {
    return std::uint8_t(c >> 24);
}

namespace Colors {
inline constexpr Color32 White = makeColor(255, 255, 255, 255);
inline constexpr Color32 Red = makeColor(255, 0, 0, 255);
inline constexpr Color32 Yellow = makeColor(255, 255, 0, 255);
inline constexpr Color32 Black = makeColor(0, 0, 0, 255);
} // namespace Colors
