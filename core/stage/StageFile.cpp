#include "core/stage/StageFile.h"

#include "core/base/FileAccess.h"
#include "core/base/TextScan.h"
#include "core/base/Utf.h"
#include "core/stage/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string_view>
#include <vector>

namespace {
const char* const KindKeywords[] = {"WALL", "GOAL"};

class StageErrorCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "twirlstick-stage"; }
    std::string message(int code) const override {
        switch (StageError(code)) {
        case StageError::TitleTooLong:
            return "the title is longer than " + std::to_string(MaxStoredTitleUnits) + " characters";
        case StageError::TitleNotStorable:
            return "the title holds a line feed, a lone surrogate or outer blanks, which a stage file cannot "
                   "keep";
        case StageError::NumberNotFinite:
            return "a coordinate is infinite or not a number";
        case StageError::NotAStage:
            return "not a stage file";
        }
        return "unknown stage error";
    }
};

bool allFinite(std::initializer_list<float> values) {
    return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

std::vector<std::string_view> splitWords(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        const size_t start = i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

// A finite float, or nothing when the word is not wholly a number.
bool parseFloat(std::string_view word, float& out) {
    const std::string text(word);
    char* end = nullptr;
    errno = 0;
    const float v = std::strtof(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool parseInt(std::string_view word, long long lo, long long hi, long long& out) {
    const std::optional<LeadingInteger> n = leadingInteger(word);
    // The whole word, as far as a NUL (where a C string would end it).
    if (!n || (n->length < word.size() && word[n->length] != '\0') || n->value < lo || n->value > hi)
        return false;
    out = n->value;
    return true;
}

// Reads up to `count` numbers into the targets in order; stops at the first one missing or bad.
void readFloats(const std::vector<std::string_view>& words, std::initializer_list<float*> targets) {
    size_t w = 1;
    for (float* target : targets) {
        if (w >= words.size() || !parseFloat(words[w], *target)) return;
        ++w;
    }
}

// The text after the keyword word and its separating blanks, without trailing blanks.
std::string_view restOfLine(std::string_view line, std::string_view keyword) {
    std::string_view rest = line.substr(size_t(keyword.data() - line.data()) + keyword.size());
    while (!rest.empty() && isBlank(rest.front()))
        rest.remove_prefix(1);
    while (!rest.empty() && isBlank(rest.back()))
        rest.remove_suffix(1);
    return rest;
}

struct PendingSegment {
    long long a, b;
    std::int32_t kind;
};

// Whether the line is one of a stage file's records (whatever its values): a file that has one
// says it is a stage, even when what it says is an empty stage.
bool readLine(std::string_view line, Stage& stage, std::vector<PendingSegment>& segments) {
    const std::vector<std::string_view> words = splitWords(line);
    if (words.empty()) return false;
    const std::string_view key = words[0];
    if (key == "TITLE") {
        stage.title = readTitle(toUtf16(restOfLine(line, key)));
    } else if (key == "TIMELIMIT") {
        long long v;
        if (words.size() > 1 && parseInt(words[1], std::numeric_limits<std::int32_t>::min(),
                                         std::numeric_limits<std::int32_t>::max(), v))
            stage.timeLimit = std::int32_t(v);
    } else if (key == "INITPOS") {
        readFloats(words, {&stage.initialPivot.x, &stage.initialPivot.y, &stage.initialAngle});
    } else if (key == "CAMPOS") {
        readFloats(words, {&stage.startCamera.x, &stage.startCamera.y, &stage.startCamera.zoom});
    } else if (key == "POINT") {
        // Whole pairs only: a lone x or a word that is not a number ends the line.
        for (size_t w = 1; w + 1 < words.size(); w += 2) {
            Vec2 p;
            if (!parseFloat(words[w], p.x) || !parseFloat(words[w + 1], p.y)) break;
            stage.addPoint(p); // a full table drops the rest silently
        }
    } else {
        for (std::int32_t kind : {WALL, GOAL}) {
            if (key != KindKeywords[kind]) continue;
            long long a, b;
            if (words.size() > 2 && parseInt(words[1], 0, 65535, a) && parseInt(words[2], 0, 65535, b))
                segments.push_back({a, b, kind});
            return true;
        }
        return false;
    }
    return true;
}
} // namespace

const std::error_category& stageErrorCategory() {
    static const StageErrorCategory category;
    return category;
}

std::error_code make_error_code(StageError e) {
    return {int(e), stageErrorCategory()};
}

void loadStage(const std::string& path, Stage& stage, std::error_code* error) {
    stage.clear();
    if (const std::optional<std::string> text = readTextFile(path, MaxStageFileBytes, error))
        if (!parseStage(*text, stage) && error) *error = StageError::NotAStage;
}

bool loadStageFile(const std::string& path, Stage& stage, std::error_code& error) {
    loadStage(path, stage, &error);
    return !error;
}

bool parseStage(std::string_view text, Stage& stage) {
    stage.clear();
    text = withoutBom(text);
    // Line records may come before the POINT line, so they are added once every point is known;
    // one that names no point that was read is dropped.
    std::vector<PendingSegment> segments;
    bool saysStage = false;
    std::string_view rest = text;
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        saysStage = readLine(line, stage, segments) || saysStage;
    }
    for (const PendingSegment& s : segments)
        if (s.a != s.b && stage.holdsPoint(int(s.a)) && stage.holdsPoint(int(s.b)))
            stage.addSegment(int(s.a), int(s.b), s.kind);
    return saysStage;
}

std::string formatStageNumber(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", v);
    std::string s = buf;
    // C libraries write at least two exponent digits; the files have three ("e+006").
    const size_t e = s.find('e');
    if (e != std::string::npos && e + 2 < s.size()) {
        const size_t digits = s.size() - (e + 2);
        if (digits < 3) s.insert(e + 2, 3 - digits, '0');
    }
    return s;
}

std::string formatStage(const Stage& stage) {
    std::string out(Utf8Bom);
    const auto line = [&](const std::string& text) {
        out += text;
        out += "\r\n";
    };
    const auto num = [](float v) { return formatStageNumber(double(v)); };
    line("TITLE " + toUtf8(stage.title));
    line("TIMELIMIT " + std::to_string(stage.timeLimit));
    line("INITPOS " + num(stage.initialPivot.x) + " " + num(stage.initialPivot.y) + " " +
         num(stage.initialAngle));
    line("CAMPOS " + num(stage.startCamera.x) + " " + num(stage.startCamera.y) + " " +
         num(stage.startCamera.zoom));
    std::string points = "POINT";
    // Appended piece by piece: `" " + std::string&&` trips GCC 12's false -Wrestrict at -O3.
    for (int i = 0; i < MaxPoints && stage.pointState[i] != PointState::Free; ++i) {
        points += ' ';
        points += num(stage.points[i].x);
        points += ' ';
        points += num(stage.points[i].y);
    }
    line(points);
    for (int j = 0; j < MaxSegments && stage.segments[j].kind != FreeSegment; ++j) {
        const Segment& s = stage.segments[j];
        line(std::string(KindKeywords[s.kind == GOAL ? 1 : 0]) + " " + std::to_string(s.low) + " " +
             std::to_string(s.high));
    }
    return out;
}

std::error_code checkStorable(const Stage& stage, std::string_view text) {
    if (stage.title.size() > MaxStoredTitleUnits) return StageError::TitleTooLong;
    if (!fileKeepsTitle(stage.title)) return StageError::TitleNotStorable;
    bool finite = allFinite({stage.initialPivot.x, stage.initialPivot.y, stage.initialAngle,
                             stage.startCamera.x, stage.startCamera.y, stage.startCamera.zoom});
    for (int i = 0; i < MaxPoints; ++i)
        if (stage.holdsPoint(i)) finite = finite && allFinite({stage.points[i].x, stage.points[i].y});
    if (!finite) return StageError::NumberNotFinite;
    if (text.size() > MaxStageFileBytes) return FileError::TooLarge;
    return {};
}

bool saveStage(const std::string& path, Stage& stage, std::error_code* error) {
    stage.compact();
    const std::string text = formatStage(stage);
    if (const std::error_code refused = checkStorable(stage, text)) {
        if (error) *error = refused;
        return false;
    }
    return writeFileAtomically(path, text, error);
}
