#pragma once
// SHA-256 (FIPS 180-4), for names that must not collide by accident or on purpose: the content
// id of a stage file and the stored form of a player's secret token. Headless, no library: the
// game (desktop and browser) and the server compute the same ids.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

std::array<std::uint8_t, 32> sha256(std::string_view bytes);

// The digest in lower-case hex, 64 digits.
std::string sha256Hex(std::string_view bytes);
