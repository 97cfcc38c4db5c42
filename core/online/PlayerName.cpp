#include "core/online/PlayerName.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace {
struct Range {
    char32_t first, last;
};

// Letters (and the combining signs their scripts cannot be written without) by block. A table
// of scripts rather than Unicode's full letter property keeps the core free of a Unicode
// library; punctuation, symbols and digits of these blocks are cut out where a block mixes them.
constexpr Range LetterRanges[] = {
    {0x00C0, 0x00D6},   {0x00D8, 0x00F6}, {0x00F8, 0x024F}, // Latin-1 letters, Latin Extended-A/B
    {0x0250, 0x02AF},                                       // IPA extensions
    {0x0386, 0x0386},   {0x0388, 0x03FF},                   // Greek
    {0x0400, 0x0481},   {0x048A, 0x052F},                   // Cyrillic
    {0x0531, 0x0556},   {0x0561, 0x0587},                   // Armenian
    {0x05D0, 0x05EA},                                       // Hebrew
    {0x0620, 0x064A},   {0x0671, 0x06D3},                   // Arabic
    {0x0900, 0x0963},   {0x0971, 0x0DFF},                   // Indic scripts (with their vowel signs)
    {0x0E01, 0x0E3A},   {0x0E40, 0x0E4E}, {0x0E81, 0x0EDF}, // Thai, Lao
    {0x10A0, 0x10FF},   {0x1100, 0x11FF},                   // Georgian, Hangul Jamo
    {0x1E00, 0x1FFF},                                       // Latin Extended Additional, Greek Extended
    {0x3041, 0x3096},   {0x309D, 0x309F},                   // Hiragana
    {0x30A1, 0x30FA},   {0x30FC, 0x30FF},                   // Katakana (with the long-vowel mark)
    {0x3131, 0x318E},   {0x3400, 0x4DBF}, {0x4E00, 0x9FFF}, // Hangul compatibility Jamo, CJK
    {0xAC00, 0xD7A3},                                       // Hangul syllables
    {0xF900, 0xFAFF},                                       // CJK compatibility ideographs
    {0xFF21, 0xFF3A},   {0xFF41, 0xFF5A}, {0xFF66, 0xFF9F}, // fullwidth Latin, halfwidth Katakana
    {0x20000, 0x2FA1F},                                     // CJK extensions
};

bool isLetterOrDigit(char32_t c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    if (c == 0x00D7 || c == 0x00F7 || c == 0x0387 || c == 0x037E) return false; // ×, ÷, Greek punctuation
    return std::any_of(std::begin(LetterRanges), std::end(LetterRanges),
                       [c](const Range& r) { return c >= r.first && c <= r.last; });
}

// Strict UTF-8: no overlong forms, surrogates or code points past U+10FFFF.
std::optional<std::vector<char32_t>> decode(std::string_view s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = std::uint8_t(s[i]);
        int extra;
        char32_t c;
        if (b < 0x80)
            extra = 0, c = b;
        else if (b >= 0xC2 && b < 0xE0)
            extra = 1, c = b & 0x1F;
        else if (b >= 0xE0 && b < 0xF0)
            extra = 2, c = b & 0x0F;
        else if (b >= 0xF0 && b < 0xF5)
            extra = 3, c = b & 0x07;
        else
            return std::nullopt;
        if (s.size() - i <= std::size_t(extra)) return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            const auto t = std::uint8_t(s[i + std::size_t(k)]);
            if ((t & 0xC0) != 0x80) return std::nullopt;
            c = c << 6 | (t & 0x3F);
        }
        if ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF)) ||
            (c >= 0xD800 && c <= 0xDFFF))
            return std::nullopt;
        out.push_back(c);
        i += std::size_t(extra) + 1;
    }
    return out;
}

void encode(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

char32_t fold(char32_t c) {
    if (c == 0x0178) return 0x00FF; // Ÿ
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xFF21 && c <= 0xFF3A) return c - 0xFF21 + 'a'; // fullwidth capitals
    if (c >= 0xFF41 && c <= 0xFF5A) return c - 0xFF41 + 'a'; // fullwidth small letters
    if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) return c + 32;
    if (c >= 0x0100 && c <= 0x017F && c != 0x0130 && c != 0x0131 && c != 0x0138 && c != 0x0149 && c != 0x017F)
        return (c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E) ? c + (c & 1) : c | 1;
    if (c >= 0x0391 && c <= 0x03AB && c != 0x03A2) return c + 32; // Greek capitals
    if (c == 0x03C2) return 0x03C3;                               // final sigma
    if (c == 0x0386) return 0x03AC;                               // accented Greek capitals
    if (c >= 0x0388 && c <= 0x038A) return c + 37;
    if (c == 0x038C) return 0x03CC;
    if (c == 0x038E || c == 0x038F) return c + 63;
    if (c >= 0x0410 && c <= 0x042F) return c + 32; // Cyrillic capitals
    if (c >= 0x0400 && c <= 0x040F) return c + 80;
    if ((c >= 0x0460 && c <= 0x0481) || (c >= 0x048A && c <= 0x04BF) || (c >= 0x04D0 && c <= 0x052F))
        return c | 1;                              // Cyrillic pairs: capital even, small odd
    if (c >= 0x0531 && c <= 0x0556) return c + 48; // Armenian capitals
    return c;
}
} // namespace

bool isValidPlayerName(std::string_view utf8) {
    const std::optional<std::vector<char32_t>> chars = decode(utf8);
    if (!chars || chars->empty() || chars->size() > std::size_t(MaxPlayerNameChars)) return false;
    if (chars->front() == ' ' || chars->back() == ' ') return false;
    char32_t previous = 0;
    for (const char32_t c : *chars) {
        if (c == ' ' && previous == ' ') return false;
        if (c != ' ' && c != '-' && c != '_' && !isLetterOrDigit(c)) return false;
        previous = c;
    }
    return true;
}

std::string playerNameKey(std::string_view utf8) {
    std::string key;
    for (const char32_t c : decode(utf8).value_or(std::vector<char32_t>{}))
        encode(fold(c), key);
    return key;
}
