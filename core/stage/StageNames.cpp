#include "core/stage/StageNames.h"

#include <cstddef>

namespace {
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

std::string_view digitRun(std::string_view s, std::size_t from) {
    std::size_t end = from;
    while (end < s.size() && isDigit(s[end]))
        ++end;
    return s.substr(from, end - from);
}

// <0, 0, >0 by numeric value; no conversion, so a run of any length compares correctly.
int compareNumbers(std::string_view a, std::string_view b) {
    while (a.size() > 1 && a.front() == '0')
        a.remove_prefix(1);
    while (b.size() > 1 && b.front() == '0')
        b.remove_prefix(1);
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

int compareNatural(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::string_view x = digitRun(a, i), y = digitRun(b, j);
            if (const int c = compareNumbers(x, y); c != 0) return c;
            i += x.size();
            j += y.size();
            continue;
        }
        const char x = lowerAscii(a[i]), y = lowerAscii(b[j]);
        if (x != y) return (unsigned char)x < (unsigned char)y ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}
} // namespace

bool isEditedStageName(std::string_view name) {
    // Only names the game itself gives (a new stage, an import): reset-all deletes what the lists
    // show, and it deletes only what the game wrote, never a player's "stage1.bak" beside them.
    constexpr std::string_view Prefix = "stage";
    if (name.size() <= Prefix.size() || name.substr(0, Prefix.size()) != Prefix) return false;
    for (const char c : name.substr(Prefix.size()))
        if (!isDigit(c)) return false;
    return true;
}

bool naturalLess(std::string_view a, std::string_view b) {
    if (const int c = compareNatural(a, b); c != 0) return c < 0;
    return a < b;
}
