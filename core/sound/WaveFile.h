#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The sample bytes of a canonical 44-byte-header WAVE file: the length at byte 40, the samples
// from byte 44. Nothing else is read. A length beyond the end of the file is cut to the bytes
// present (and to 16 MiB at most); a missing file, anything but a regular file, or a length of 0
// gives no samples. `problem` says what was wrong.
std::vector<std::uint8_t> readWaveSamples(const std::string& path, std::string& problem);

// The same from the file's bytes (of which only the first 44 + 16 MiB matter).
std::vector<std::uint8_t> parseWaveSamples(std::string_view bytes, std::string& problem);
